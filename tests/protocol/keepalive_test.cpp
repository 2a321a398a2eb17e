#include "core/cp936.h"
#include "fakeservice.h"
#include "protocol/keepalive.h"
#include "protocol/serviceanswer.h"

#include <gtest/gtest.h>

namespace {

const QString kMessages = QStringLiteral(
    "<Messages><M Logid=\"abc\" FromLogid=\"fr\" FromIP=\"1.2.3.4\" PostDateTime=\"2026-1-1\" "
    "Comment=\"你好，镕\" Extra=\"x\"/></Messages>");

class KeepAliveTest : public ::testing::Test, public FakeServiceFixture
{
protected:
    KeepAliveTest()
    {
        info.SessionLogid = QStringLiteral("abc");
        info.SessionPassword = QStringLiteral("pw");
        info.VerfyNumber = -12;
        info.ClientPromptOnlineSeconds = 60;
        info.State = StateOnline;
        StartKeepAliveTimer(info);
    }
    QString storedMessages() const
    {
        return cp936::decode(dir.read(QStringLiteral("xml/messages.xml")));
    }
};

} // namespace

TEST_F(KeepAliveTest, AcceptedAnswerStoresMessagesAndTakesThePeriod)
{
    server.addReply(StatusReply(AcceptedKeepAlive(30), kMessages));
    info.State = StateConnectionLost;

    const PromptOnlineResult result = PromptOnline(info);

    EXPECT_EQ(requestTarget(0), "/kbz/clientTools/userpromptonline.asp?logid=abc&VerfyNumber=-12");
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.message, QString());
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 30000);
    EXPECT_TRUE(info.HasMessages);
    const QString stored = storedMessages();
    EXPECT_TRUE(stored.contains(QStringLiteral("Comment=\"你好，镕\""))) << qPrintable(stored);
    EXPECT_FALSE(stored.contains(QStringLiteral("Extra")));
}

TEST_F(KeepAliveTest, RefusalTakesThePeriodButNotTheMessages)
{
    server.addReply(StatusReply(
        QStringLiteral("Result=\"0\" Reason=\"会话过期\" ClientPromptOnlineSeconds=\"0\" "
                       "WebAreasVersion=\"1\" WebServerTypeVersion=\"1\""),
        kMessages));
    const PromptOnlineResult result = PromptOnline(info);
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.message, QStringLiteral("会话过期"));
    EXPECT_EQ(info.State, StateConnectionLost);
    EXPECT_FALSE(info.KeepAliveTimer->isTicking());
    EXPECT_FALSE(dir.exists(QStringLiteral("xml/messages.xml")));
    EXPECT_FALSE(info.HasMessages);
}

TEST_F(KeepAliveTest, IncompleteAnswersAreUnreadable)
{
    const QString withoutVersion =
        QStringLiteral("Result=\"1\" ClientPromptOnlineSeconds=\"60\" WebServerTypeVersion=\"1\"");
    const QString refusalWithoutReason =
        QStringLiteral("Result=\"0\" ClientPromptOnlineSeconds=\"60\" WebAreasVersion=\"1\" "
                       "WebServerTypeVersion=\"1\"");
    server.addReply(StatusReply(withoutVersion, kMessages));
    server.addReply(StatusReply(AcceptedKeepAlive())); // accepted, but no message list
    server.addReply(StatusReply(refusalWithoutReason));
    for (int i = 0; i < 3; ++i) {
        info.State = StateOnline;
        const PromptOnlineResult result = PromptOnline(info);
        EXPECT_EQ(result.message, ServiceMessage::Unreadable()) << i;
        EXPECT_EQ(info.State, StateConnectionLost) << i;
    }
    EXPECT_FALSE(dir.exists(QStringLiteral("xml/messages.xml")));
}

TEST_F(KeepAliveTest, NoAnswerIsConnectionLost)
{
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    EXPECT_EQ(PromptOnline(info).message, ServiceMessage::NoAnswer());
    EXPECT_EQ(info.State, StateConnectionLost);
}

TEST_F(KeepAliveTest, TickLogsInAgainAtOnceAfterAFailedKeepAlive)
{
    server.addReply(
        StatusReply(QStringLiteral("Result=\"0\" Reason=\"stale\" "
                                   "ClientPromptOnlineSeconds=\"60\" "
                                   "WebAreasVersion=\"1\" WebServerTypeVersion=\"1\"")));
    server.addReply(StatusReply(AcceptedLogin(20)));

    OnKeepAliveTimer(info);

    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(
        requestTarget(1).startsWith("/kbz/clientTools/userlogin.asp?logid=abc&password=pw&"));
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 20000);
    EXPECT_FALSE(info.TimerBusy);
}

TEST_F(KeepAliveTest, TickWithoutSessionStopsTheTimer)
{
    info.State = StateOffline;
    OnKeepAliveTimer(info);
    EXPECT_EQ(server.connectionCount(), 0);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());

    // With AutoLogin the offline client keeps trying with the last session.
    info.AutoLogin = true;
    StartKeepAliveTimer(info);
    server.addReply(StatusReply(AcceptedKeepAlive(), QStringLiteral("<L/>")));
    OnKeepAliveTimer(info);
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(info.State, StateOnline);
}

TEST_F(KeepAliveTest, BusyTickDoesNothing)
{
    info.TimerBusy = true;
    OnKeepAliveTimer(info);
    EXPECT_EQ(server.connectionCount(), 0);
    EXPECT_TRUE(info.TimerBusy);
}

TEST_F(KeepAliveTest, UnwritableStoreCountsAsAFailedKeepAliveAndLogsInAgain)
{
    dir.write(QStringLiteral("xml"), "a file where the folder should be");
    server.addReply(StatusReply(AcceptedKeepAlive(1), kMessages));
    server.addReply(StatusReply(AcceptedLogin(20)));

    OnKeepAliveTimer(info);

    // The messages were not kept, so no later keep-alive of this session may acknowledge them.
    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(requestTarget(1).startsWith("/kbz/clientTools/userlogin.asp?"));
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_FALSE(info.TimerBusy);
}
