#include "app/commandline.h"
#include "app/headlessrunner.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Marbello XP"));
    const std::optional<CommandLine> commandLine = ParseCommandLine(application.arguments());
    if (!commandLine)
        return 2;

    // Held until the process ends.
    const auto instanceLock =
        Platform::current().AcquireSingleInstance(QStringLiteral("ClientService"));
    if (!instanceLock) {
        std::fputs("已经有实例运行中\n", stderr);
        return 1;
    }
    if (!commandLine->headless)
        std::fputs("this build has no tray window; running headless\n", stderr);

    TClientServiceInfo clientServiceInfo;
    return RunHeadless(clientServiceInfo, *commandLine);
}
