// The service's reading of a request: the head as it arrives, the query of a request target as
// the client and a browser send it, and the registration body. Every value either reads or is
// refused with a reason, and what reads is clean text.
#include "fuzztarget.h"
#include "service/requestfields.h"
#include "service/requesthead.h"

#include <string_view>

namespace {

void checkText(const QString &text)
{
    for (const QChar c : text) {
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F);
        FUZZ_CHECK(c != QChar::ReplacementCharacter);
    }
}

void readAll(const RequestFields &fields, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        const auto refusedWithReason = [](const Refusal &refusal) {
            FUZZ_CHECK(!refusal.reason.isEmpty());
        };
        try {
            checkText(fields.text(key, 50));
        } catch (const Refusal &refusal) {
            refusedWithReason(refusal);
        }
        try {
            checkText(fields.text(key, 255));
        } catch (const Refusal &refusal) {
            refusedWithReason(refusal);
        }
        try {
            FUZZ_CHECK(IsValidLogid(fields.logid(key)));
        } catch (const Refusal &refusal) {
            refusedWithReason(refusal);
        }
        try {
            const qint32 value = fields.integer(key, -5, 65535);
            FUZZ_CHECK(value >= -5 && value <= 65535);
        } catch (const Refusal &refusal) {
            refusedWithReason(refusal);
        }
        try {
            fields.flag(key);
        } catch (const Refusal &refusal) {
            refusedWithReason(refusal);
        }
    }
}

void readHead(std::string_view received)
{
    const RequestLimits limits;
    RequestHead head;
    if (ParseRequestHead(received, limits, head) != HeadStatus::Complete)
        return;
    FUZZ_CHECK(head.headBytes <= received.size() && head.headBytes <= limits.maxHeadBytes);
    FUZZ_CHECK(head.target.starts_with('/'));
    FUZZ_CHECK(head.contentLength <= limits.maxBodyBytes);
    FUZZ_CHECK(DecodedPath(head.target).size() <= head.target.size());
    // Bytes that arrive later never change a head that was already whole.
    RequestHead again;
    FUZZ_CHECK(ParseRequestHead(std::string(received) + "\r\n\r\nX", limits, again) ==
               HeadStatus::Complete);
    FUZZ_CHECK(again.headBytes == head.headBytes && again.target == head.target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::initializer_list<const char *> loginKeys = {
        "logid",    "password",   "WebIsOpen", "WebIsDynamic", "WebPort",     "WebStaticURL",
        "WebTitle", "WebKeyword", "WebIntro",  "WebAreas",     "NotLoginURL", "ClientVersion"};
    const std::initializer_list<const char *> registrationKeys = {
        "logid",   "password",   "name",      "sex",  "Birthday",     "Location",
        "address", "postalCode", "telephone", "icno", "IsFromClient", "email"};
    try {
        switch (data[0] % 4) {
        case 0:
            readAll(RequestFields::fromQuery(input, loginKeys), loginKeys);
            break;
        case 1:
            readAll(RequestFields::fromQuery(input, {"logid", "password", "comefrom"},
                                             RequestFields::Sender::Browser),
                    {"logid", "password", "comefrom"});
            break;
        case 2:
            readAll(RequestFields::fromLines(input), registrationKeys);
            break;
        default:
            readHead(input);
        }
    } catch (const Refusal &refusal) {
        FUZZ_CHECK(!refusal.reason.isEmpty());
    }
    return 0;
}
