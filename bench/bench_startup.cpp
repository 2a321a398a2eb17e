// Headless start-up until the event loop runs, in two ways: the start-up steps inside this
// process, and the whole client executable from spawn to its last start-up write.
#include "app/clientlifecycle.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"
#include "tests/app/headlessprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kInProcessRuns = 50;
constexpr int kProcessRuns = 20;

// StartClient and the first pass of the event loop, in fresh directories; milliseconds.
double inProcessStart()
{
    QTemporaryDir appDir;
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QElapsedTimer clock;
    clock.start();
    TClientServiceInfo info;
    StartClient(info, Platform::current(),
                {appDir.path(),
                 QCoreApplication::applicationFilePath(),
                 QStringLiteral("127.0.0.1:1"),
                 {}});
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    return double(clock.nsecsElapsed()) / 1e6;
}

// From spawning `marbello --headless` to its start-at-logon entry, the last thing start-up
// writes before the event loop; milliseconds, or a negative value when it did not get there.
double processStart()
{
    QTemporaryDir appDir;
    QTemporaryDir runtimeDir;
    QTemporaryDir configHome;
    QDir(configHome.path()).mkpath(QStringLiteral("autostart"));
    const QString entry = configHome.filePath(QStringLiteral("autostart/marbello.desktop"));
    HeadlessProcess client({appDir.path(), runtimeDir.path(), configHome.path()});
    QElapsedTimer clock;
    clock.start();
    client.start();
    const bool started = client.waitUntil([&entry] { return QFileInfo::exists(entry); });
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    const bool stopped = client.stop(SIGTERM) == 0;
    return started && stopped ? elapsed : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);

    const double cold = inProcessStart();
    double inProcess = 0;
    for (int i = 0; i < kInProcessRuns; ++i)
        inProcess += inProcessStart();
    inProcess /= kInProcessRuns;

    double process = 0;
    for (int i = 0; i < kProcessRuns; ++i) {
        const double run = processStart();
        if (run < 0) {
            std::fprintf(stderr, "the client did not start and stop cleanly\n");
            return 1;
        }
        process += run;
    }
    process /= kProcessRuns;

    std::printf("first in-process start (cold caches) %.2f ms\n", cold);
    std::printf("startup: in-process %.2f ms (avg of %d), process %.2f ms (avg of %d)\n", inProcess,
                kInProcessRuns, process, kProcessRuns);
    std::printf("target: under 50 ms\n");
    return 0;
}
