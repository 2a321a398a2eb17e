#include "app/welcomeprocess.h"

#include "app/welcomewindow.h"
#include "ui/look/look.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {

constexpr int kStartMs = 3000;
// The splash takes about 1.1 s; a copy still there long after that is ended.
constexpr int kLongestSplashMs = 6000;

} // namespace

void ShowWelcomeInOwnProcess()
{
    QProcess splash;
    splash.setProcessChannelMode(QProcess::ForwardedChannels);
    splash.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--splash")});
    if (!splash.waitForStarted(kStartMs)) {
        ShowWelcome();
        return;
    }
    QEventLoop loop;
    QObject::connect(&splash, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kLongestSplashMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (splash.state() != QProcess::NotRunning) {
        splash.kill();
        splash.waitForFinished(kStartMs);
        return;
    }
    // A copy that could not open its window (a crash, a display it may not use) leaves the
    // splash unseen: it is shown here after all.
    if (splash.exitStatus() != QProcess::NormalExit || splash.exitCode() != 0)
        ShowWelcome();
}

int RunWelcomeProcess(QApplication &application)
{
    ApplyLook(application);
    ShowWelcome();
    return 0;
}
