#include "headlessrunner.h"

#include "app/clientlifecycle.h"
#include "app/terminationsignals.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"

#include <QCoreApplication>

int RunHeadless(TClientServiceInfo &info, const CommandLine &commandLine)
{
    TerminationSignals termination;
    const QString executable = QCoreApplication::applicationFilePath();
    const QString appDir =
        commandLine.appDir.isEmpty() ? QCoreApplication::applicationDirPath() : commandLine.appDir;
    StartClient(info, Platform::current(), {appDir, executable, commandLine.serviceHost});

    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&info] {
        CloseClient(info);
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}
