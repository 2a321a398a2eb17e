#include "app/clientlifecycle.h"
#include "app/commandline.h"
#include "app/headlessrunner.h"
#include "app/interfacelanguage.h"
#include "app/trayclient.h"
#include "app/welcomeprocess.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"

#include <QApplication>
#include <cstdio>

namespace {

int runHeadless(int argc, char *argv[], const CommandLine &commandLine)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Marbello XP"));
    InterfaceLanguage::Install(InstalledDataDir());
    // Held until the process ends.
    const auto instanceLock =
        Platform::current().AcquireSingleInstance(QStringLiteral("ClientService"));
    if (!instanceLock) {
        std::fputs(qUtf8Printable(QCoreApplication::translate("main", "已经有实例运行中") +
                                  QLatin1Char('\n')),
                   stderr);
        return 1;
    }
    TClientServiceInfo clientServiceInfo;
    return RunHeadless(clientServiceInfo, commandLine);
}

} // namespace

int main(int argc, char *argv[])
{
    // The arguments decide which kind of application to make: a headless client needs no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::optional<CommandLine> commandLine = ParseCommandLine(arguments);
    if (!commandLine)
        return 2;
    if (commandLine->headless)
        return runHeadless(argc, argv, *commandLine);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marbello XP"));
    InterfaceLanguage::Install(InstalledDataDir());
    if (commandLine->splashOnly)
        return RunWelcomeProcess(application);
    return RunTrayClient(application, *commandLine);
}
