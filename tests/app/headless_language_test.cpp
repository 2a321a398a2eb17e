// The headless client in English and in Chinese: its outcome lines follow the language, its state
// lines, its requests and its files never do.
#include "core/cp936.h"
#include "headlessprocess.h"
#include "tests/core/configfile.h"
#include "tests/protocol/fakeservice.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QStringList kCredentials = {QStringLiteral("--logid"), QStringLiteral("abc"),
                                  QStringLiteral("--password"), QStringLiteral("pw")};

// What one client run leaves behind.
struct ClientRun
{
    int status = -1;
    QString output;
    QByteArray request;
    std::string config; // its random password prefix masked
    QString log;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A command-line login against one scripted `reply`, with `language` as the only language
// setting (none for the C locale); a client that goes online is stopped once it says so.
ClientRun runClient(const QByteArray &reply, const char *language,
                    ScriptedServer::Mode mode = ScriptedServer::Mode::ReplyAndClose)
{
    ScriptedServer service;
    service.addReply(reply, mode);
    QTemporaryDir app, runtime, configHome;
    HeadlessProcess client({app.path(), runtime.path(), configHome.path()});
    if (language)
        client.setEnvironmentVariable(QStringLiteral("LANGUAGE"), QLatin1String(language));
    client.start(QStringList{QStringLiteral("--service"),
                             QStringLiteral("127.0.0.1:%1").arg(service.port())} +
                 kCredentials);
    ClientRun run;
    bool online = false;
    // A failed command-line login ends the client by itself.
    client.waitUntil([&] {
        online = client.standardOutput().contains(QStringLiteral("state: online\n"));
        return online;
    });
    run.status = online ? client.stop(SIGTERM) : client.waitForExit();
    run.output = client.standardOutput();
    run.request = service.requests().value(0);
    run.config = masked(readFile(app.filePath(QStringLiteral("config.xml"))));
    // Only the clock may differ between two runs' logs.
    run.log = cp936::decode(readFile(app.filePath(QStringLiteral("log/log.txt"))))
                  .replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("0"));
    return run;
}

} // namespace

TEST(HeadlessLanguage, EnglishChangesTheOutcomeAndNothingSentOrStored)
{
    const QByteArray accepted = StatusReply(AcceptedLogin(60));
    const ClientRun chinese = runClient(accepted, nullptr);
    const ClientRun english = runClient(accepted, "en_GB:en");

    EXPECT_EQ(chinese.output, QStringLiteral("state: online\n登录成功\n"));
    EXPECT_EQ(english.output, QStringLiteral("state: online\nLogin succeeded\n"));
    EXPECT_EQ(english.status, 0);
    ASSERT_FALSE(chinese.request.isEmpty());
    EXPECT_EQ(english.request, chinese.request);
    EXPECT_EQ(english.config, chinese.config);
    EXPECT_EQ(english.log, chinese.log);
}

TEST(HeadlessLanguage, FailuresAreEnglishButTheServiceReasonIsShownAsItCame)
{
    const ClientRun refused =
        runClient(StatusReply(QStringLiteral("Result=\"0\" Reason=\"密码错误\"")), "en");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, QStringLiteral("Login failed: 密码错误\n"));

    const ClientRun unanswered = runClient(QByteArray(), "en", ScriptedServer::Mode::CloseAtOnce);
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_EQ(unanswered.output, QStringLiteral("Login failed: Cannot reach the server; "
                                                "check the network\n"));

    // A language without a translation is Chinese, as the C locale is.
    const ClientRun french = runClient(QByteArray(), "fr_FR", ScriptedServer::Mode::CloseAtOnce);
    EXPECT_EQ(french.output, QStringLiteral("登录失败: 无法连接服务器，请检查Internet连接\n"));
}
