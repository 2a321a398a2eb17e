#include "core/delay.h"
#include "fakeservice.h"
#include "protocol/startupautologin.h"

#include <gtest/gtest.h>

namespace {

class StartupAutoLoginTest : public ::testing::Test, public FakeServiceFixture
{
protected:
    StartupAutoLoginTest()
    {
        info.LastLogid = QStringLiteral("abc");
        info.LastPassword = QStringLiteral("pw");
        info.AutoLogin = true;
    }
};

} // namespace

TEST_F(StartupAutoLoginTest, RetriesWithAGrowingDelayUntilTheServiceItselfAnswers)
{
    // No answer, then a proxy's error page while the service is still down.
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    server.addReply("HTTP/1.0 502 Bad Gateway\r\nContent-Type: text/html\r\n\r\n"
                    "<html><body>502 Bad Gateway</body></html>");
    server.addReply(StatusReply(AcceptedLogin()));
    StartupAutoLogin autoLogin(info, 100, 150);

    autoLogin.start();
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_TRUE(autoLogin.isRetrying());
    Delay(150); // first retry after 100 ms, the next after 150 (capped)
    EXPECT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(info.State, StateOffline);
    Delay(250);
    EXPECT_EQ(server.connectionCount(), 3);
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_FALSE(autoLogin.isRetrying());
}

TEST_F(StartupAutoLoginTest, AnyAnswerOrTheUserEndsTheRetries)
{
    server.addReply(StatusReply(QStringLiteral("Result=\"0\" Reason=\"no\"")));
    StartupAutoLogin refused(info, 50, 50);
    refused.start();
    EXPECT_FALSE(refused.isRetrying());

    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    StartupAutoLogin cancelled(info, 50, 50);
    cancelled.start();
    cancelled.cancel();
    Delay(200);
    EXPECT_EQ(server.connectionCount(), 2);
}

TEST_F(StartupAutoLoginTest, ARetryWhoseTimeComesLooksAtTheSettingsThen)
{
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    StartupAutoLogin unticked(info, 50, 50);
    unticked.start();
    ASSERT_TRUE(unticked.isRetrying());
    // Unticked in the options dialog while the retry waits.
    info.AutoLogin = false;
    Delay(150);
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_FALSE(unticked.isRetrying());

    // The retry logs in with the stored login as it is at that moment, and not without one. A
    // proxy's error page, unlike silence, lets the request be seen.
    server.addReply("HTTP/1.0 502 Bad Gateway\r\n\r\n<html>502</html>");
    info.AutoLogin = true;
    StartupAutoLogin changed(info, 50, 100);
    changed.start();
    info.LastLogid = QStringLiteral("other");
    for (int waited = 0; server.connectionCount() < 3 && waited < 2000; waited += 10)
        Delay(10);
    ASSERT_EQ(server.connectionCount(), 3);
    EXPECT_TRUE(requestTarget(2).contains("logid=other&"));
    info.LastPassword = QString();
    Delay(300);
    EXPECT_EQ(server.connectionCount(), 3);
    EXPECT_FALSE(changed.isRetrying());
}
