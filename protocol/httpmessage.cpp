#include "protocol/httpmessage.h"

#include "core/percentencoding.h"

#include <QByteArray>
#include <algorithm>

namespace {

QByteArrayView methodWord(HttpMethod method)
{
    switch (method) {
    case HttpMethod::Post:
        return "POST ";
    case HttpMethod::Head:
        return "HEAD ";
    case HttpMethod::Get:
        break;
    }
    return "GET ";
}

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

QByteArrayView withoutLineEnd(QByteArrayView line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// The value of a header line named `name` (with its colon), or nullopt for a line of another
// name. Like the name, the value is separated by blanks.
std::optional<QByteArray> valueOf(QByteArrayView line, QByteArrayView name)
{
    const qsizetype length = name.size();
    if (line.size() <= length || line[length] != ' ' ||
        qstrnicmp(line.data(), length, name.data(), length) != 0)
        return std::nullopt;
    QByteArrayView value = withoutLineEnd(line.sliced(length));
    while (value.startsWith(' ') || value.startsWith('\t'))
        value = value.sliced(1);
    return value.toByteArray();
}

QByteArray escapeRequestTarget(QByteArrayView target, bool escaped)
{
    if (escaped)
        return PercentEncode(target, [](char c) { return isControl(c) || c == ' '; });
    return PercentEncode(target, NeedsEscapeInRequestTarget);
}

// A header value keeps its spaces; only control bytes would break its line.
QByteArray escapeHeaderValue(QByteArrayView value)
{
    return PercentEncode(value, isControl);
}

} // namespace

QByteArray BuildRequestHeader(const RequestHead &head)
{
    QByteArray text;
    text += methodWord(head.method);
    text += escapeRequestTarget(head.target, head.targetEscaped) + " HTTP/1.0\r\n";
    if (head.viaProxy)
        text += "Proxy-Connection: Keep-Alive\r\n";
    text += "Host: " + escapeHeaderValue(head.host) + "\r\n";
    if (head.viaProxy && !head.proxyCredentials.isEmpty())
        text += "Proxy-Authorization: Basic " + head.proxyCredentials.toBase64() + "\r\n";
    text += "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
    text += "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    if (!head.cookie.isEmpty())
        text += "Cookie: " + escapeHeaderValue(head.cookie) + "\r\n";
    text += "Content-type: application/x-www-form-urlencoded\r\n";
    if (head.contentLength)
        text += "Content-Length: " + QByteArray::number(*head.contentLength) + "\r\n";
    text += "\r\n";
    return text;
}

qint16 ReplyCode(QByteArrayView statusLine)
{
    const QByteArrayView line = withoutLineEnd(statusLine);
    const qsizetype first = line.indexOf(' ');
    if (first < 0)
        return 0;
    const qsizetype second = line.indexOf(' ', first + 1);
    const QByteArrayView number =
        second < 0 ? line.sliced(first + 1) : line.sliced(first + 1, second - first - 1);
    bool ok = false;
    const qint16 code = number.toShort(&ok);
    return ok ? code : 0;
}

bool IsHeaderEnd(QByteArrayView line)
{
    return line == "\r\n" || line == "\n";
}

void ReplyHeaderValues::take(QByteArrayView line)
{
    if (auto value = valueOf(line, "SET-COOKIE:"))
        cookie = std::move(*value);
    else if (auto value = valueOf(line, "LOCATION:"))
        location = std::move(*value);
    else if (auto value = valueOf(line, "CONTENT-LENGTH:")) {
        // Digits only: a sign or trailing text would make the length a guess.
        const bool digitsOnly =
            !value->isEmpty() && std::all_of(value->cbegin(), value->cend(),
                                             [](char c) { return c >= '0' && c <= '9'; });
        bool fits = false;
        const qint64 length = value->toLongLong(&fits);
        contentLength = digitsOnly && fits ? std::optional(length) : std::nullopt;
    }
}
