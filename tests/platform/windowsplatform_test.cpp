#include "core/clientserviceinfo.h"
#include "platform/terminationsignals.h"
#include "platform/windows/windowsplatform.h"
#include "tests/platform/windowscorestandin.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

// The Windows adapter against a stand-in for its Win32 core: the conversions between the client
// state and the core's wide strings. The core itself is tested under wine.

TEST(WindowsPlatform, PassesTheClientStateToTheCoreAndBack)
{
    WindowsCoreStandIn &core = WindowsCoreStandIn::instance();
    core.lookup = {L"代理.example", 8080, L"C:\\Program Files\\浏览器\\b.exe -nohome"};
    WindowsPlatform platform;
    TClientServiceInfo info;
    platform.LookupProxyAndBrowser(info);
    EXPECT_EQ(info.ProxyHost, QStringLiteral("代理.example"));
    EXPECT_EQ(info.ProxyPort, 8080);
    EXPECT_EQ(info.BrowserCommand, QStringLiteral("C:\\Program Files\\浏览器\\b.exe -nohome"));

    platform.OpenURL(info, QStringLiteral("http://host/~用户"));
    EXPECT_EQ(core.openedBrowser, L"C:\\Program Files\\浏览器\\b.exe -nohome");
    EXPECT_EQ(core.openedUrl, L"http://host/~用户");

    // Qt writes paths with forward slashes; the Run entry and Notepad get Windows' own.
    info.ExecutablePath = QStringLiteral("C:/Program Files/Marbello XP/marbello.exe");
    for (const bool autoRun : {true, false}) {
        info.AutoRun = autoRun;
        platform.UpdateAutoRunEntry(info);
        EXPECT_EQ(core.autoRunPath, L"C:\\Program Files\\Marbello XP\\marbello.exe");
        EXPECT_EQ(core.autoRunOn, autoRun);
    }
    platform.OpenLogFile(QStringLiteral("C:/Program Files/Marbello XP/log/log.txt"));
    EXPECT_EQ(core.openedLog, L"C:\\Program Files\\Marbello XP\\log\\log.txt");
}

TEST(WindowsPlatform, SingleInstanceLockIsHeldUntilReleased)
{
    WindowsPlatform platform;
    auto first = platform.AcquireSingleInstance(QStringLiteral("ClientService"));
    ASSERT_TRUE(first);
    EXPECT_FALSE(platform.AcquireSingleInstance(QStringLiteral("ClientService")));
    first.reset();
    EXPECT_TRUE(platform.AcquireSingleInstance(QStringLiteral("ClientService")));
}

TEST(WindowsPlatform, ConsoleRequestFromAnotherThreadArrivesInTheEventLoop)
{
    TerminationSignals termination;
    QEventLoop loop;
    bool requested = false;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &loop, [&] {
        requested = true;
        loop.quit();
    });
    std::thread(WindowsCoreStandIn::instance().consoleRequest).join();
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(requested);
}
