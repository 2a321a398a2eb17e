// The URL split on any URL, with the component's host and port as the first bytes choose them.
#include "fuzztarget.h"
#include "protocol/httperror.h"
#include "protocol/urlsplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray url = FuzzBytes(data, size);
    const int port = size > 0 ? data[0] * 257 : 0;
    try {
        const UrlTarget target = SplitUrl(url, "current.example", port);
        FUZZ_CHECK(target.path.startsWith('/'));
        FUZZ_CHECK(target.url.endsWith(target.path));
        FUZZ_CHECK(target.port >= 0 && target.port <= 65535);
        FUZZ_CHECK(!target.host.isEmpty());
        FUZZ_CHECK(!target.host.contains(':') && !target.host.contains('/'));
    } catch (const THttpError &) {
        // Refused with a reason: the caller reports it.
    }
    return 0;
}
