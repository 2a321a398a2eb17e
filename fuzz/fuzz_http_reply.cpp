// The HTTP layer's reading of a reply header (status line, Set-Cookie, Location, the end of the
// header) on any bytes, the redirect target it leads to, and the request line built from any
// target and cookie.
#include "fuzztarget.h"
#include "protocol/httperror.h"
#include "protocol/httpmessage.h"
#include "protocol/urlsplit.h"

namespace {

void readHeader(const QByteArray &reply)
{
    ReplyHeaderValues values;
    qsizetype start = 0;
    for (int line = 0; start < reply.size(); ++line) {
        const qsizetype end = reply.indexOf('\n', start);
        const QByteArrayView text =
            QByteArrayView(reply).sliced(start, (end < 0 ? reply.size() : end + 1) - start);
        start += text.size();
        if (line == 0) {
            ReplyCode(text);
            continue;
        }
        if (IsHeaderEnd(text))
            break;
        values.take(text);
    }
    for (const QByteArray &value : {values.cookie, values.location}) {
        // A value never runs into the next line. (A line ending in CR CR LF keeps one CR; the
        // request line and header builders escape it wherever the value goes next.)
        FUZZ_CHECK(!value.contains('\n'));
        FUZZ_CHECK(!value.startsWith(' ') && !value.startsWith('\t'));
    }
    if (values.location.isEmpty())
        return;
    try {
        SplitUrl(values.location, "service.example", 80);
    } catch (const THttpError &) {
    }
}

void buildRequest(const QByteArray &bytes)
{
    const qsizetype half = bytes.size() / 2;
    RequestHead head;
    head.target = bytes.left(half);
    head.host = "service.example";
    head.viaProxy = true;
    head.cookie = bytes.mid(half);
    const QByteArray header = BuildRequestHeader(head);
    // One line per header field, whatever the target or the cookie hold.
    FUZZ_CHECK(header.count("\r\n") == (head.cookie.isEmpty() ? 7 : 8));
    FUZZ_CHECK(header.count('\n') == header.count("\r\n"));
    const QByteArray requestLine = header.left(header.indexOf("\r\n"));
    FUZZ_CHECK(requestLine.count(' ') == 2);
    FUZZ_CHECK(!requestLine.contains('#'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    readHeader(bytes);
    buildRequest(bytes);
    return 0;
}
