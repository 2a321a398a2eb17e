#include "core/cp936.h"
#include "fakeservice.h"
#include "protocol/keepalive.h"
#include "protocol/serviceanswer.h"

#include <QDir>
#include <QFile>
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

TEST_F(KeepAliveTest, UnwritableStoreBacksOffTellsOnceAndNeverAcknowledgesWhatItLost)
{
    dir.write(QStringLiteral("xml"), "a file where the folder should be");
    QStringList told;
    info.StoreFailures.observe([&told](const QString &cause) { told << cause; });
    const auto isLogin = [this](int index) {
        return requestTarget(index).startsWith("/kbz/clientTools/userlogin.asp?");
    };

    // Each failed delivery leads to a new login (so the service delivers the messages again)
    // and the next tick waits twice as long, but never less than the period.
    server.addReply(StatusReply(AcceptedKeepAlive(1), kMessages));
    server.addReply(StatusReply(AcceptedLogin(1)));
    OnKeepAliveTimer(info);
    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(isLogin(1));
    EXPECT_EQ(info.KeepAliveTimer->interval(), 5000);
    EXPECT_FALSE(info.TimerBusy);

    // A new login that finds no answer leaves the session that brought the messages: its next
    // keep-alive would acknowledge them, so the next tick logs in before anything else.
    server.addReply(StatusReply(AcceptedKeepAlive(1), kMessages));
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    OnKeepAliveTimer(info);
    EXPECT_EQ(info.State, StateConnectionLost);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 10000);
    server.addReply(StatusReply(AcceptedLogin(1)));
    OnKeepAliveTimer(info);
    ASSERT_EQ(server.connectionCount(), 5);
    EXPECT_TRUE(isLogin(4));
    EXPECT_EQ(info.KeepAliveTimer->interval(), 20000);

    // Told once, with the cause, which the activity log also holds once.
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.front().contains(QStringLiteral("messages.xml"))) << qPrintable(told.front());
    EXPECT_EQ(logText().count(QStringLiteral("讯息无法保存")), 1) << qPrintable(logText());

    // Writable again: the next delivery lands, and the period is the service's again.
    QFile::remove(dir.file(QStringLiteral("xml")));
    server.addReply(StatusReply(AcceptedKeepAlive(1), kMessages));
    OnKeepAliveTimer(info);
    EXPECT_EQ(server.connectionCount(), 6);
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 1000);
    EXPECT_TRUE(storedMessages().contains(QStringLiteral("你好，镕")));

    // A later failure begins a new run: the user is told again, and the wait starts over.
    QFile::remove(dir.file(QStringLiteral("xml/messages.xml")));
    QDir(dir.path()).mkpath(QStringLiteral("xml/messages.xml"));
    server.addReply(StatusReply(AcceptedKeepAlive(1), kMessages));
    server.addReply(StatusReply(AcceptedLogin(1)));
    OnKeepAliveTimer(info);
    EXPECT_EQ(told.size(), 2);
    EXPECT_EQ(info.KeepAliveTimer->interval(), 5000);
}
