// The real client and the real reference service together on loopback.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/cp936.h"
#include "core/xmldocument.h"
#include "protocol/keepalive.h"
#include "protocol/login.h"
#include "protocol/logoff.h"
#include "protocol/registration.h"
#include "tests/app/headlessprocess.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("e2e_user-1");
const QString kPassword = QStringLiteral("s3cret");
const QString kAway = QStringLiteral("http://example.org/away");

// Publishes a web server on this PC at port 8081 while online.
void publishSite(TClientServiceInfo &info)
{
    info.WebISOpen = true;
    info.WebISDynamic = true;
    info.WebPort = 8081;
    info.WebTitle = QStringLiteral("我的 网站");
    info.WebKeyword = QStringLiteral("测试");
    info.WebIntro = QStringLiteral("介绍 & 更多");
    info.WebAreas = QStringLiteral("电脑");
    info.NotLoginURL = kAway;
}

class EndToEnd : public ::testing::Test
{
protected:
    EndToEnd() : service(1)
    {
        InitializeClientState(info, local.path(), QStringLiteral("/opt/marbello/marbello"));
        info.ServiceHost = service.host();
        info.InetTimeOut = 4000;
        publishSite(info);
    }

    RegistrationForm form() const
    {
        RegistrationForm form;
        form.logid = kId;
        form.password = kPassword;
        form.name = QStringLiteral("张三");
        form.birthday = QDate(1977, 6, 2);
        form.location = QStringLiteral("中国大陆");
        form.address = QStringLiteral("北京 & 上海=");
        form.email = QStringLiteral("zhang.san@example-mail.cn");
        return form;
    }

    ServiceProcess service;
    TestAppDir local;
    TClientServiceInfo info;
};

} // namespace

TEST_F(EndToEnd, RegisterLogInReceiveAMessageAndBeVisitedWhileOnline)
{
    ASSERT_TRUE(service.isListening());
    const RegistrationResult registered = RegisterUser(info, form());
    ASSERT_TRUE(registered.registered()) << qPrintable(registered.message);
    EXPECT_FALSE(local.exists(QStringLiteral("tempreg.txt")));
    const RegistrationResult again = RegisterUser(info, form());
    EXPECT_FALSE(again.registered());
    EXPECT_FALSE(again.message.isEmpty());

    // The client's own configuration publishes the site.
    TestAppDir app, runtime, configHome;
    QDir(app.path()).mkpath(QStringLiteral("xml"));
    TClientServiceInfo stored;
    InitializeClientState(stored, app.path(), marbelloExecutable());
    publishSite(stored);
    stored.AutoRun = false;
    stored.IfLog = true;
    stored.InetTimeOut = 4000;
    ASSERT_TRUE(SaveConfig(stored));

    HeadlessProcess client({app.path(), runtime.path(), configHome.path()});
    client.start({QStringLiteral("--service"), service.host(), QStringLiteral("--logid"), kId,
                  QStringLiteral("--password-file"), QStringLiteral("-")},
                 kPassword.toUtf8() + '\n');
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("state: online\n登录成功\n")))
        << qPrintable(client.standardOutput()) << client.standardError().constData();
    EXPECT_TRUE(service.admin({QStringLiteral("online")}).contains(kId));

    const ServiceProcess::Visit online = service.visit(QStringLiteral("/~") + kId);
    EXPECT_TRUE(online.statusLine.contains(" 302")) << online.statusLine.constData();
    EXPECT_EQ(online.location, "http://127.0.0.1:8081/");

    const QString comment = QStringLiteral("你好，镕基 <&> \"quoted\"");
    service.admin({QStringLiteral("post-message"), kId, QStringLiteral("--from"),
                   QStringLiteral("admin"), QStringLiteral("--from-ip"), QStringLiteral("10.0.0.1"),
                   QStringLiteral("--comment"), comment});
    const QString messages = app.file(QStringLiteral("xml/messages.xml"));
    ASSERT_TRUE(client.waitUntil([&] {
        const auto store = XmlDocument::fromFile(messages);
        return store && store->root().childCount() == 1;
    })) << qPrintable(client.standardOutput());
    const auto store = XmlDocument::fromFile(messages);
    const XmlElement message = store->root().child(0);
    EXPECT_EQ(message.attribute(QStringLiteral("Comment")), comment);
    EXPECT_EQ(message.attribute(QStringLiteral("FromLogid")), QStringLiteral("admin"));
    EXPECT_EQ(message.attribute(QStringLiteral("FromIP")), QStringLiteral("10.0.0.1"));

    EXPECT_EQ(client.stop(SIGTERM), 0);
    EXPECT_TRUE(cp936::decode(app.read(QStringLiteral("log/log.txt")))
                    .contains(QStringLiteral("[登录服务器] - Logid:") + kId));
}

TEST_F(EndToEnd, AfterLogoffVisitorsGoToTheOfflineAddressAndTheSessionIsGone)
{
    ASSERT_TRUE(RegisterUser(info, form()).registered());
    bool newVersion = false;
    ASSERT_EQ(Login(info, kId, kPassword, newVersion), QString());
    ASSERT_EQ(info.State, StateOnline);
    EXPECT_EQ(info.ClientPromptOnlineSeconds, 1);
    EXPECT_TRUE(PromptOnline(info).accepted);
    EXPECT_EQ(service.visit(QStringLiteral("/~") + kId).location, "http://127.0.0.1:8081/");

    EXPECT_EQ(Logoff(info, info.SessionLogid), QString());
    EXPECT_EQ(info.State, StateOffline);
    const ServiceProcess::Visit away = service.visit(QStringLiteral("/~") + kId);
    EXPECT_TRUE(away.statusLine.contains(" 302"));
    EXPECT_EQ(away.location, kAway.toUtf8());

    // The old verification number no longer keeps anything alive.
    const PromptOnlineResult stale = PromptOnline(info);
    EXPECT_FALSE(stale.accepted);
    EXPECT_FALSE(stale.message.isEmpty());
}

TEST_F(EndToEnd, WrongPasswordIsRefusedWithAReason)
{
    ASSERT_TRUE(RegisterUser(info, form()).registered());
    bool newVersion = false;
    const QString message = Login(info, kId, QStringLiteral("wrong"), newVersion);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(info.State, StateOffline);
}

TEST_F(EndToEnd, PasswordAndTitleWithHashPercentAndFormCharactersLogIn)
{
    // Each of these would be cut ("#"), decoded ("%41"), split ("&", "=") or turned into a blank
    // ("+") on the way if it went as typed.
    RegistrationForm tricky = form();
    tricky.password = QStringLiteral("a&b=c+d%41#e");
    info.WebTitle = QStringLiteral("C++ 教程");
    ASSERT_TRUE(RegisterUser(info, tricky).registered());

    bool newVersion = false;
    ASSERT_EQ(Login(info, kId, tricky.password, newVersion), QString());
    EXPECT_EQ(info.State, StateOnline);
    EXPECT_TRUE(PromptOnline(info).accepted);
    for (const char *near : {"a&b=c d%41#e", "a&b=c+dA#e", "a"})
        EXPECT_FALSE(Login(info, kId, QString::fromLatin1(near), newVersion).isEmpty()) << near;

    // The account page, asked as a browser would (UTF-8, escaped), shows what was typed.
    const ServiceProcess::Visit page =
        service.visit(QStringLiteral("/user/logindo.asp?logid=") + kId +
                      QStringLiteral("&password=a%26b%3Dc%2Bd%2541%23e"));
    EXPECT_TRUE(page.statusLine.contains(" 200")) << page.statusLine.constData();
    const QString shown = cp936::decode(page.body);
    EXPECT_TRUE(shown.contains(QStringLiteral("C++ 教程"))) << qPrintable(shown);
}
