#include "fakeservice.h"
#include "protocol/logoff.h"
#include "protocol/serviceanswer.h"

#include <gtest/gtest.h>

namespace {

class LogoffTest : public ::testing::Test, public FakeServiceFixture
{
protected:
    LogoffTest()
    {
        info.SessionLogid = QStringLiteral("abc");
        info.VerfyNumber = 12345;
        info.ClientPromptOnlineSeconds = 60;
        info.State = StateOnline;
        StartKeepAliveTimer(info);
    }
    QString logoff() { return Logoff(info, info.SessionLogid); }
};

} // namespace

TEST_F(LogoffTest, SendsNothingUnlessOnline)
{
    for (const quint8 state : {StateOffline, StateConnectionLost}) {
        info.State = state;
        EXPECT_EQ(logoff(), QString());
        EXPECT_EQ(info.State, state);
        EXPECT_TRUE(info.KeepAliveTimer->isEnabled());
    }
    EXPECT_EQ(server.connectionCount(), 0);
}

TEST_F(LogoffTest, AcceptedLogoffGoesOfflineLogsAndStopsTheTimer)
{
    server.addReply(StatusReply(QStringLiteral("Result=\"1\"")));
    EXPECT_EQ(logoff(), QString());
    EXPECT_EQ(requestTarget(0), "/kbz/clientTools/userlogoff.asp?logid=abc&verfynumber=12345");
    EXPECT_EQ(info.State, StateOffline);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());
    EXPECT_FALSE(info.LoggingOff);
    EXPECT_TRUE(logText().startsWith(QStringLiteral("成功  ")));
    EXPECT_TRUE(logText().contains(QStringLiteral("[注销服务器] - Logid:abc  系统 (本地)\r\n")));
}

TEST_F(LogoffTest, RefusalStaysOnlineWithTheTimerStopped)
{
    server.addReply(StatusReply(QStringLiteral("Result=\"0\" Reason=\"不在线\"")));
    EXPECT_EQ(logoff(), QStringLiteral("不在线"));
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());
    EXPECT_TRUE(logText().startsWith(QStringLiteral("失败  ")));
    EXPECT_TRUE(logText().contains(QStringLiteral("[注销服务器] - 不在线  系统 (本地)")));
}

TEST_F(LogoffTest, NoAnswerIsLostAndUnreadableChangesNothing)
{
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    EXPECT_EQ(logoff(), ServiceMessage::NoAnswer());
    EXPECT_EQ(info.State, StateConnectionLost);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());

    info.State = StateOnline;
    server.addReply("HTTP/1.0 500 Internal Server Error\r\n\r\n<html>oops</html>");
    EXPECT_EQ(logoff(), QString());
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_FALSE(dir.exists(QStringLiteral("log/log.txt")));
}
