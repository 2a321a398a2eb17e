#include "app/trayclient.h"

#include "app/clientlifecycle.h"
#include "app/trayicon.h"
#include "app/traywindow.h"
#include "app/welcomeprocess.h"
#include "platform/platform.h"
#include "platform/terminationsignals.h"
#include "ui/look/look.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

int RunTrayClient(QApplication &application, const CommandLine &commandLine)
{
    const auto instanceLock =
        Platform::current().AcquireSingleInstance(QStringLiteral("ClientService"));
    if (!instanceLock) {
        PlatformMessageBox(QCoreApplication::translate("main", "警告"),
                           QCoreApplication::translate("main", "已经有实例运行中"));
        return 1;
    }
    // Dialogs come and go; only the tray window's closing ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyLook(application);
    ShowWelcomeInOwnProcess();

    TerminationSignals termination;
    TfrmClientServiceMain window(Platform::current(), ClientEnvironmentFor(commandLine),
                                 std::make_unique<TrayIcon>());
    // The end of the desktop session and a termination request close it as the exit item does.
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     &TfrmClientServiceMain::closeWindow);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                     &TfrmClientServiceMain::closeWindow);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     &TfrmClientServiceMain::closeWindow);
    QObject::connect(&window, &TfrmClientServiceMain::closed, &application,
                     [] { QCoreApplication::exit(0); });

    std::optional<TfrmClientServiceMain::Credentials> credentials;
    if (commandLine.hasCredentials)
        credentials = TfrmClientServiceMain::Credentials{commandLine.logid, commandLine.password};
    QTimer::singleShot(0, &window, [&window, credentials] { window.startSession(credentials); });
    return QApplication::exec();
}
