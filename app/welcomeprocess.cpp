#include "app/welcomeprocess.h"

#include "app/welcomewindow.h"
#include "ui/look/look.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <cstdio>

namespace {

constexpr char kShown[] = "shown\n";
constexpr int kStartMs = 3000;
// The splash takes about 1.1 s; a copy still there long after that is ended.
constexpr int kLongestSplashMs = 6000;

} // namespace

void ShowWelcomeInOwnProcess()
{
    QProcess splash;
    // Its standard output says when the splash is up; the rest goes where the client's goes.
    splash.setProcessChannelMode(QProcess::ForwardedErrorChannel);
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
    }
    // A copy that ended before its window was up (it crashed, or may not use the display) left
    // the splash unseen: it is shown here after all. One that failed later has shown it.
    if (!splash.readAllStandardOutput().contains(kShown))
        ShowWelcome();
}

int RunWelcomeProcess(QApplication &application)
{
    ApplyLook(application);
    ShowWelcome([] {
        std::fputs(kShown, stdout);
        std::fflush(stdout);
    });
    return 0;
}
