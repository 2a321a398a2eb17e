#include "core/cp936.h"
#include "fakeservice.h"
#include "protocol/login.h"
#include "protocol/serviceanswer.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class LoginTest : public ::testing::Test, public FakeServiceFixture
{
protected:
    QString login(const QString &id = QStringLiteral("abc"),
                  const QString &password = QStringLiteral("pw"))
    {
        return Login(info, id, password, newVersion);
    }
    bool newVersion = false;
};

} // namespace

TEST_F(LoginTest, UrlCarriesTheSiteDescriptionWithEveryValueFormEncoded)
{
    info.WebISOpen = true;
    info.WebISDynamic = false;
    info.WebPort = 8080;
    info.WebStaticURL = QStringLiteral("a b");
    info.WebTitle = QStringLiteral("my site");
    info.WebAreas = QStringLiteral("12");
    EXPECT_EQ(BuildLoginUrl(info, QStringLiteral("id"), QStringLiteral("pw")),
              info.serviceUrl(QStringLiteral(
                  "/kbz/clientTools/userlogin.asp?logid=id&password=pw"
                  "&WebIsOpen=1&WebIsDynamic=0&WebPort=8080&WebStaticURL=a+b&WebTitle=my+site"
                  "&WebKeyword=&WebIntro=&WebAreas=12&NotLoginURL=&ClientVersion=0.994")));

    // Blanks are "+", and whatever a form decoder would read otherwise is "%XX"; Chinese stays.
    info.WebTitle = QStringLiteral("C++ 教程");
    info.NotLoginURL = QStringLiteral("http://x/?a=1&b=2#top");
    const QString url =
        BuildLoginUrl(info, QStringLiteral("a b&c"), QStringLiteral("a&b=c+d%41#e\r\n"));
    EXPECT_TRUE(url.contains(
        QStringLiteral("?logid=a+b%26c&password=a%26b%3Dc%2Bd%2541%23e%0D%0A&WebIsOpen=1")));
    EXPECT_TRUE(url.contains(QStringLiteral("&WebTitle=C%2B%2B+教程&")));
    EXPECT_TRUE(url.contains(QStringLiteral("&NotLoginURL=http://x/?a%3D1%26b%3D2%23top&")));
}

TEST_F(LoginTest, AcceptedLoginStoresTheSessionAndStartsTheTimer)
{
    server.addReply(StatusReply(AcceptedLogin(45)));
    const QString longId = QStringLiteral("abcdefghijklmnopqrstuvwxy"); // 25 bytes
    info.WebTitle = QStringLiteral("中文 标题");

    EXPECT_EQ(login(longId), QString());

    // Sent whole, CP936, blank percent-encoded on the wire; stored cut to 20 bytes.
    EXPECT_TRUE(requestTarget(0).startsWith(
        "/kbz/clientTools/userlogin.asp?logid=" + longId.toLatin1() + "&password=pw&"));
    EXPECT_TRUE(
        requestTarget(0).contains("&WebTitle=" + cp936::encode(QStringLiteral("中文+标题"))));
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_EQ(info.LastLogid.text(), longId.left(20));
    EXPECT_EQ(info.SessionLogid.text(), longId.left(20));
    EXPECT_EQ(info.SessionPassword.text(), QStringLiteral("pw"));
    EXPECT_EQ(info.Level, 2);
    EXPECT_EQ(info.VerfyNumber, 4711);
    EXPECT_EQ(info.UserDomain, QStringLiteral("http://x/~abc"));
    EXPECT_EQ(info.KeepAliveTimer->interval(), 45000);
    EXPECT_TRUE(info.KeepAliveTimer->isTicking());
    EXPECT_FALSE(newVersion);
    EXPECT_FALSE(info.LoggingIn);
    EXPECT_TRUE(logText().contains(QStringLiteral("[登录服务器] - Logid:") + longId +
                                   QStringLiteral("  系统 (本地)")));
}

TEST_F(LoginTest, NewVersionFlagOnlyForAStrictlyNewerCompleteAnswer)
{
    server.addReply(StatusReply(AcceptedLogin(60, QStringLiteral("0.995"))));
    login();
    EXPECT_TRUE(newVersion);

    // A refusal leaves the flag as the caller set it.
    server.addReply(StatusReply(QStringLiteral("Result=\"0\" Reason=\"no\"")));
    login();
    EXPECT_TRUE(newVersion);
}

TEST_F(LoginTest, RefusalHandsBackTheChineseReasonAndGoesOffline)
{
    info.State = StateOnline;
    server.addReply(StatusReply(QStringLiteral("Result=\"0\" Reason=\"密码错误\"")));
    EXPECT_EQ(login(), QStringLiteral("密码错误"));
    EXPECT_EQ(info.State, StateOffline);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());
    EXPECT_FALSE(dir.exists(QStringLiteral("log/log.txt")));
}

TEST_F(LoginTest, OnlyTheExactTextOneIsAcceptance)
{
    for (const char *result : {"01", " 1", "1 ", "true"}) {
        server.addReply(
            StatusReply(QStringLiteral("Result=\"%1\" Reason=\"r\"").arg(QLatin1String(result))));
        EXPECT_EQ(login(), QStringLiteral("r")) << result;
        EXPECT_EQ(info.State, StateOffline);
    }
}

TEST_F(LoginTest, NoAnswerKeepsALostSessionLostAndArmsTheTimerOnlyWithAutoLogin)
{
    server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    EXPECT_EQ(login(), ServiceMessage::NoAnswer());
    EXPECT_EQ(info.State, StateOffline);
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());

    info.AutoLogin = true;
    info.State = StateOnline;
    EXPECT_EQ(login(), ServiceMessage::NoAnswer());
    EXPECT_EQ(info.State, StateConnectionLost);
    // No period is known yet: enabled, but it never ticks.
    EXPECT_TRUE(info.KeepAliveTimer->isEnabled());
    EXPECT_FALSE(info.KeepAliveTimer->isTicking());
}

TEST_F(LoginTest, UnreadableAnswers)
{
    // An error page, a root without children, an undeclared CP936 reason.
    server.addReply("HTTP/1.0 404 Not Found\r\n\r\n<html><body>404</body></html>");
    EXPECT_EQ(login(), ServiceMessage::Unreadable());
    EXPECT_EQ(info.State, StateOffline);

    server.addReply(AnswerReply(QStringLiteral("<Answer/>")));
    EXPECT_EQ(login(), ServiceMessage::Unreadable());

    server.addReply("HTTP/1.0 200 OK\r\n\r\n<a><s Result=\"0\" Reason=\"" +
                    cp936::encode(QStringLiteral("错误")) + "\"/></a>");
    EXPECT_EQ(login(), ServiceMessage::Unreadable());

    // Accepted, then a Level that is no number: the session values read so far stay.
    server.addReply(StatusReply(
        AcceptedLogin().replace(QStringLiteral("Level=\"2\""), QStringLiteral("Level=\"x\""))));
    EXPECT_EQ(login(QStringLiteral("late")), ServiceMessage::Unreadable());
    EXPECT_EQ(info.State, StateConnectionLost);
    EXPECT_EQ(info.SessionLogid.text(), QStringLiteral("late"));
    EXPECT_FALSE(info.KeepAliveTimer->isEnabled());
}

TEST_F(LoginTest, ElementNamesDoNotMatter)
{
    server.addReply(AnswerReply(QStringLiteral("<x><!-- c --><y %1/></x>").arg(AcceptedLogin())));
    EXPECT_EQ(login(), QString());
    EXPECT_EQ(info.State, StateOnline);
}

TEST_F(LoginTest, UnwritableLogDoesNotChangeTheOutcome)
{
    dir.write(QStringLiteral("log"), "a file where the log folder should be");
    server.addReply(StatusReply(AcceptedLogin()));
    EXPECT_EQ(login(), QString());
    EXPECT_EQ(info.State, StateOnline);
}

TEST_F(LoginTest, LoggingInHoldsUntilTheLastOfNestedLoginsEnds)
{
    // The outer login waits for an answer that never comes; a keep-alive's new login runs and
    // ends inside that wait.
    server.addReply(QByteArray(), ScriptedServer::Mode::ReplyAndKeepOpen);
    server.addReply(StatusReply(AcceptedLogin()));
    info.InetTimeOut = 1000;
    bool duringOuter = false;
    QTimer::singleShot(100, [this] {
        bool nestedVersion = false;
        EXPECT_EQ(Login(info, QStringLiteral("abc"), QStringLiteral("pw"), nestedVersion),
                  QString());
    });
    QTimer::singleShot(300, [&] { duringOuter = info.LoggingIn; });

    EXPECT_EQ(login(), ServiceMessage::NoAnswer());
    EXPECT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(duringOuter);
    EXPECT_FALSE(info.LoggingIn);
}
