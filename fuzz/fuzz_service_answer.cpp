// A service answer on any body: every read either gives a value or raises XmlReadError.
#include "core/xmldocument.h"
#include "fuzztarget.h"
#include "protocol/serviceanswer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = FuzzBytes(data, size);
    if (body.isEmpty())
        return 0;
    try {
        const TServiceAnswer answer(body);
        const auto read = [](auto &&get) {
            try {
                get();
            } catch (const XmlReadError &) {
            }
        };
        read([&] { return answer.Accepted(); });
        for (const char *name :
             {"Result", "Reason", "Level", "VerfyNumber", "ClientPromptOnlineSeconds", "UserDomain",
              "NewestClientVersion"}) {
            read([&] { return answer.Text(name); });
            read([&] { return answer.Integer(name); });
            read([&] { return answer.Decimal(name); });
        }
        read([&] {
            const QString list = answer.MessageList();
            // What the answer hands on as a message list is itself a document.
            FUZZ_CHECK(XmlDocument::fromUnicode(list).has_value());
            return list;
        });
    } catch (const XmlReadError &) {
    }
    return 0;
}
