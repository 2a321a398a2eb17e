// The real headless client against a scripted service on loopback.
#include "core/cp936.h"
#include "core/delay.h"
#include "core/passwordscrambler.h"
#include "headlessprocess.h"
#include "tests/protocol/fakeservice.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray keepAliveRefused()
{
    return StatusReply(
        QStringLiteral("Result=\"0\" Reason=\"过期\" ClientPromptOnlineSeconds=\"1\" "
                       "WebAreasVersion=\"1\" WebServerTypeVersion=\"1\""));
}

// A config.xml that logs `id` in automatically, scrambled with the key of the real executable.
void writeAutoLoginConfig(const QString &appDir, const QString &id, const QString &password)
{
    const QByteArray key = PasswordScrambler::KeyFor(marbelloExecutable());
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<configures>\r\n"
                       "<config Version=\"0.994\" LastLogid=\"%1\" LastPassword=\"%2\" "
                       "AutoLogin=\"1\" AutoRun=\"0\" OpenWebAfterLogin=\"0\" WebISOpen=\"0\" "
                       "WebISDynamic=\"0\" WebPort=\"80\" WebStaticURL=\"\" NotLoginURL=\"\" "
                       "WebTitle=\"\" WebKeyword=\"\" WebIntro=\"\" WebAreas=\"\" IfLog=\"1\" "
                       "InetTimeOut=\"4000\" />\r\n</configures>\r\n")
            .arg(id, PasswordScrambler::Scramble(password, key));
    QFile file(appDir + QStringLiteral("/config.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cp936::encode(text));
}

QByteArray requestPath(const QByteArray &request)
{
    return request.mid(4, request.indexOf('?') - 4);
}

const QByteArray kLoginPath = "/kbz/clientTools/userlogin.asp";
const QByteArray kKeepAlivePath = "/kbz/clientTools/userpromptonline.asp";

// A client run with its own directories, pointed at `service`.
class OnlineClient
{
public:
    explicit OnlineClient(const ScriptedServer &service)
        : m_process({m_app.path(), m_runtime.path(), m_config.path()}),
          m_serviceArguments{QStringLiteral("--service"),
                             QStringLiteral("127.0.0.1:%1").arg(service.port())}
    {}
    QString appDir() const { return m_app.path(); }
    HeadlessProcess &process() { return m_process; }
    void start(const QStringList &arguments = {}, const QByteArray &standardInput = {})
    {
        m_process.start(m_serviceArguments + arguments, standardInput);
    }
    bool waitForOutput(const QString &text)
    {
        const bool seen = m_process.waitForOutput(text);
        if (!seen)
            ADD_FAILURE() << "no \"" << qPrintable(text) << "\" in:\n"
                          << qPrintable(m_process.standardOutput());
        return seen;
    }

private:
    QTemporaryDir m_app, m_runtime, m_config;
    HeadlessProcess m_process;
    QStringList m_serviceArguments;
};

} // namespace

TEST(HeadlessOnline, StoredAutoLoginKeepsAliveStoresMessagesAndLogsInAgainAfterARefusal)
{
    ScriptedServer service;
    service.addReply(StatusReply(AcceptedLogin(1)));
    service.addReply(
        StatusReply(AcceptedKeepAlive(1),
                    QStringLiteral("<L><M Logid=\"abc\" FromLogid=\"x\" FromIP=\"9.9.9.9\" "
                                   "PostDateTime=\"2026-12-8\" Comment=\"你好\"/></L>")));
    service.addReply(keepAliveRefused());
    service.addReply(StatusReply(AcceptedLogin(60)));
    OnlineClient client(service);
    QDir(client.appDir()).mkpath(QStringLiteral("xml"));
    writeAutoLoginConfig(client.appDir(), QStringLiteral("abc"), QStringLiteral("pw"));

    client.start();

    ASSERT_TRUE(client.waitForOutput(QStringLiteral("state: online\n")));
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("state: connection lost\nstate: online\n")));
    EXPECT_EQ(client.process().stop(SIGTERM), 0);

    ASSERT_GE(service.connectionCount(), 4);
    EXPECT_EQ(requestPath(service.requests().at(0)), kLoginPath);
    EXPECT_TRUE(service.requests().at(0).contains("?logid=abc&password=pw&"));
    EXPECT_EQ(requestPath(service.requests().at(1)), kKeepAlivePath);
    EXPECT_EQ(requestPath(service.requests().at(2)), kKeepAlivePath);
    EXPECT_EQ(requestPath(service.requests().at(3)), kLoginPath);
    QFile messages(client.appDir() + QStringLiteral("/xml/messages.xml"));
    ASSERT_TRUE(messages.open(QIODevice::ReadOnly));
    EXPECT_TRUE(messages.readAll().contains(cp936::encode(QStringLiteral("Comment=\"你好\""))));
}

TEST(HeadlessOnline, UnreachableServiceAtStartIsRetriedUntilItAnswers)
{
    ScriptedServer service;
    service.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
    service.addReply(StatusReply(AcceptedLogin(60)));
    OnlineClient client(service);
    writeAutoLoginConfig(client.appDir(), QStringLiteral("abc"), QStringLiteral("pw"));
    QElapsedTimer clock;
    clock.start();

    client.start();

    ASSERT_TRUE(
        client.waitForOutput(QStringLiteral("登录失败: 无法连接服务器，请检查Internet连接")));
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("state: online\n")));
    EXPECT_GE(clock.elapsed(), 4500); // the first retry waits 5 s
    EXPECT_EQ(service.connectionCount(), 2);
    EXPECT_EQ(client.process().stop(SIGINT), 0);
}

TEST(HeadlessOnline, LoginFromTheCommandLine)
{
    ScriptedServer service;
    service.addReply(StatusReply(AcceptedLogin(60)));
    OnlineClient client(service);
    QTemporaryDir secrets;
    const QString passwordFile = secrets.filePath(QStringLiteral("password"));
    QFile file(passwordFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("p w+1\r\nsecond line\n");
    file.close();
    client.start({QStringLiteral("--logid"), QStringLiteral("  abc "),
                  QStringLiteral("--password-file"), passwordFile});
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("state: online\n登录成功\n")));
    // The first line, without its line end.
    EXPECT_TRUE(service.requests().at(0).contains("?logid=abc&password=p+w%2B1&"));
    EXPECT_EQ(client.process().stop(SIGTERM), 0);
    QFile config(client.appDir() + QStringLiteral("/config.xml"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_TRUE(config.readAll().contains("LastLogid=\"abc\""));

    OnlineClient blank(service);
    blank.start({QStringLiteral("--logid"), QStringLiteral(" "), QStringLiteral("--password"),
                 QStringLiteral("pw")});
    EXPECT_EQ(blank.process().waitForExit(), 1);
    EXPECT_EQ(blank.process().standardOutput(), QStringLiteral("请输入用户名及密码\n"));
    EXPECT_EQ(service.connectionCount(), 1);
}

TEST(HeadlessOnline, PasswordFromStandardInputAndUnusablePasswordOptions)
{
    ScriptedServer service;
    service.addReply(StatusReply(AcceptedLogin(60)));
    OnlineClient client(service);
    client.start({QStringLiteral("--logid"), QStringLiteral("abc"),
                  QStringLiteral("--password-file"), QStringLiteral("-")},
                 "from-stdin\nnot this\n");
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("登录成功\n")));
    EXPECT_TRUE(service.requests().at(0).contains("?logid=abc&password=from-stdin&"));
    EXPECT_EQ(client.process().stop(SIGTERM), 0);

    // Each is a usage error, stated on stderr, before anything is sent.
    const std::pair<QStringList, QByteArray> refused[] = {
        {{QStringLiteral("--password-file"), QStringLiteral("/nonexistent/password")},
         "cannot read the password from /nonexistent/password"},
        {{QStringLiteral("--password-file"), QStringLiteral("-")}, "no password in standard input"},
        {{QStringLiteral("--password-file"), QStringLiteral("-"), QStringLiteral("--password"),
          QStringLiteral("pw")},
         "exclude each other"},
    };
    for (const auto &[arguments, complaint] : refused) {
        OnlineClient usage(service);
        usage.start(QStringList{QStringLiteral("--logid"), QStringLiteral("abc")} + arguments, "");
        EXPECT_EQ(usage.process().waitForExit(), 2) << qPrintable(arguments.join(u' '));
        EXPECT_TRUE(usage.process().standardError().contains(complaint))
            << usage.process().standardError().constData();
    }
    EXPECT_EQ(service.connectionCount(), 1);
}

TEST(HeadlessOnline, RequestsGoThroughTheProxyNamedByHttpProxy)
{
    ScriptedServer proxy;
    proxy.addReply(StatusReply(AcceptedLogin(60)));
    TestAppDir app, runtime, configHome;
    HeadlessProcess client({app.path(), runtime.path(), configHome.path()});
    client.setEnvironmentVariable(QStringLiteral("http_proxy"),
                                  QStringLiteral("http://127.0.0.1:%1/").arg(proxy.port()));
    client.start({QStringLiteral("--service"), QStringLiteral("service.example"),
                  QStringLiteral("--logid"), QStringLiteral("abc"), QStringLiteral("--password"),
                  QStringLiteral("pw")});
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("登录成功\n")));
    EXPECT_TRUE(proxy.requests().at(0).startsWith(
        "GET http://service.example/kbz/clientTools/userlogin.asp?logid=abc&password=pw&"));
    EXPECT_TRUE(proxy.requests().at(0).contains(
        " HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\nHost: service.example\r\n"));
    EXPECT_EQ(client.stop(SIGTERM), 0);
}

TEST(HeadlessOnline, StopsAtOnceWhileAKeepAliveWaitsForItsAnswer)
{
    ScriptedServer service;
    service.addReply(StatusReply(AcceptedLogin(1)));
    service.addReply(QByteArray(), ScriptedServer::Mode::ReplyAndKeepOpen);
    OnlineClient client(service);
    client.start({QStringLiteral("--logid"), QStringLiteral("abc"), QStringLiteral("--password"),
                  QStringLiteral("pw")});
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("登录成功\n")));
    Delay(1500); // the keep-alive after one second is now waiting
    ASSERT_EQ(service.connectionCount(), 2);

    EXPECT_EQ(client.process().stop(SIGTERM), 0);
    QFile log(client.appDir() + QStringLiteral("/log/log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cp936::decode(log.readAll()).contains(QStringLiteral("[软件退出]")));
}

TEST(HeadlessOnline, SignalDuringACommandLineLoginRunsTheClosingStepsAndEndsNormally)
{
    ScriptedServer service;
    service.addReply(QByteArray(), ScriptedServer::Mode::ReplyAndKeepOpen);
    OnlineClient client(service);
    client.start({QStringLiteral("--logid"), QStringLiteral("abc"), QStringLiteral("--password"),
                  QStringLiteral("pw")});
    ASSERT_TRUE(service.waitForRequests(1));

    EXPECT_EQ(client.process().stop(SIGTERM), 0);
    QFile log(client.appDir() + QStringLiteral("/log/log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cp936::decode(log.readAll()).contains(QStringLiteral("[软件退出]")));
}
