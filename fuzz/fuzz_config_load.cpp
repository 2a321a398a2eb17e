// LoadConfig on any file, and the round trip: loading what SaveConfig wrote gives the same state.
#include "core/config.h"
#include "fuzzappdir.h"
#include "fuzztarget.h"

#include <QFile>

namespace {

// Every setting config.xml keeps, in one comparable value.
QStringList storedSettings(const TClientServiceInfo &info)
{
    const auto flag = [](bool on) {
        return on ? QStringLiteral("1") : QStringLiteral("0");
    };
    return {info.LastLogid,
            info.LastPassword,
            flag(info.AutoLogin),
            flag(info.AutoRun),
            flag(info.OpenWebAfterLogin),
            flag(info.WebISOpen),
            flag(info.WebISDynamic),
            QString::number(info.WebPort),
            info.WebStaticURL,
            info.NotLoginURL,
            info.WebTitle,
            info.WebKeyword,
            info.WebIntro,
            info.WebAreas,
            flag(info.IfLog),
            QString::number(info.InetTimeOut)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TClientServiceInfo info;
    FuzzAppDir::initialize(info);
    {
        QFile file(info.configPath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    LoadConfig(info);
    FUZZ_CHECK(SaveConfig(info));

    TClientServiceInfo reloaded;
    FuzzAppDir::initialize(reloaded);
    LoadConfig(reloaded);
    if (storedSettings(reloaded) != storedSettings(info)) {
        std::fprintf(stderr, "loaded:   %s\nreloaded: %s\n",
                     qPrintable(storedSettings(info).join(QLatin1Char('|'))),
                     qPrintable(storedSettings(reloaded).join(QLatin1Char('|'))));
        FUZZ_CHECK(!"config.xml reads back what it wrote");
    }
    return 0;
}
