#include "core/clientserviceinfo.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <gtest/gtest.h>
#include <limits>

TEST(ClientServiceInfo, InitialisationSetsPathsKeyVersionAndAnIdleTimer)
{
    TestAppDir dir;
    TClientServiceInfo info;
    // A relative app directory still gives absolute data paths.
    const QString relative = QDir::current().relativeFilePath(dir.path());
    InitializeClientState(info, relative, QStringLiteral("/opt/marbello xp/marbello"));

    EXPECT_EQ(info.AppPath, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(info.configPath(), dir.file(QStringLiteral("config.xml")));
    EXPECT_EQ(info.messagesPath(), dir.file(QStringLiteral("xml/messages.xml")));
    EXPECT_EQ(info.Log->path(), dir.file(QStringLiteral("log/log.txt")));
    EXPECT_EQ(info.PasswordKey, QStringLiteral("/opt/marbe"));
    EXPECT_EQ(info.ClientVersion, 0.994);
    EXPECT_EQ(info.State, StateOffline);
    ASSERT_TRUE(info.KeepAliveTimer);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());

    // A path shorter than ten characters is the whole key.
    InitializeClientState(info, dir.path() + QLatin1Char('/'), QStringLiteral("/bin/m"));
    EXPECT_EQ(info.PasswordKey, QStringLiteral("/bin/m"));
    EXPECT_EQ(info.AppPath, dir.path() + QLatin1Char('/'));
}

TEST(ClientServiceInfo, KeepAliveIntervalStaysWithinWhatATimerTakes)
{
    TClientServiceInfo info;
    const std::pair<qint32, int> cases[] = {
        {0, 0},
        {30, 30000},
        {-5, 0},
        {std::numeric_limits<qint32>::max(), std::numeric_limits<int>::max()},
    };
    for (const auto &[seconds, milliseconds] : cases) {
        info.ClientPromptOnlineSeconds = seconds;
        EXPECT_EQ(KeepAliveIntervalMs(info), milliseconds) << seconds;
    }
}

TEST(ClientServiceInfo, StartWithoutAPeriodEnablesButNeverTicks)
{
    TClientServiceInfo info;
    InitializeClientState(info, QDir::tempPath(), QStringLiteral("/usr/bin/marbello"));
    StartKeepAliveTimer(info);
    EXPECT_TRUE(info.KeepAliveTimer->isEnabled());
    EXPECT_FALSE(info.KeepAliveTimer->isTicking());

    info.ClientPromptOnlineSeconds = 60;
    StartKeepAliveTimer(info);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 60000);
    EXPECT_TRUE(info.KeepAliveTimer->isTicking());

    StopKeepAliveTimer(info);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());
    EXPECT_FALSE(info.KeepAliveTimer->isTicking());
}

TEST(ClientServiceInfo, FixedLengthFieldsHoldWholeCharactersOnly)
{
    TClientServiceInfo info;
    info.LastLogid = QStringLiteral("abc") + QString(10, QChar(0x4E2D)); // 23 bytes
    EXPECT_EQ(info.LastLogid.text(), QStringLiteral("abc") + QString(8, QChar(0x4E2D)));
    info.WebTitle = QString(60, QLatin1Char('t'));
    EXPECT_EQ(info.WebTitle.text().size(), 50);
    info.WebAreas = QStringLiteral("x") + QString(10, QChar(0x4E2D)); // 21 bytes
    EXPECT_EQ(info.WebAreas.text(), QStringLiteral("x") + QString(9, QChar(0x4E2D)));
}
