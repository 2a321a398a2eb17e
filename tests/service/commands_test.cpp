#include "service/commandline.h"
#include "servicefixture.h"

#include <QDateTime>
#include <QProcess>

namespace {

struct ProcessRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The real executable, against the database the in-process service has open.
ProcessRun RunService(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MARBELLO_SERVICE_BINARY), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class AdministrationCommands : public ServiceFixture
{
protected:
    ProcessRun run(QStringList arguments)
    {
        return RunService(arguments << QStringLiteral("--db") << databasePath);
    }
};

TEST_F(AdministrationCommands, WorkOnTheDatabaseWhileTheServiceRuns)
{
    ProcessRun added =
        run({QStringLiteral("add-user"), QStringLiteral("carol"), QStringLiteral("pw123")});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    const qint32 verfy = loginOk(QStringLiteral("carol"), QStringLiteral("pw123"));

    const ProcessRun posted =
        run({QStringLiteral("post-message"), QStringLiteral("carol"), QStringLiteral("--from"),
             QStringLiteral("admin"), QStringLiteral("--from-ip"), QStringLiteral("192.168.1.9"),
             QStringLiteral("--comment"), QStringLiteral("维护通知 tonight"),
             QStringLiteral("--posted"), QStringLiteral("2024-06-01 08:00:00")});
    ASSERT_EQ(posted.exitCode, 0) << posted.err.toStdString();
    const Answer answer = keepAlive(QStringLiteral("carol"), verfy);
    ASSERT_EQ(answer.messageList().childCount(), 1);
    const XmlElement message = answer.messageList().child(0);
    EXPECT_EQ(message.attribute(QStringLiteral("Comment")), QStringLiteral("维护通知 tonight"));
    EXPECT_EQ(message.attribute(QStringLiteral("FromIP")), QStringLiteral("192.168.1.9"));
    EXPECT_EQ(message.attribute(QStringLiteral("PostDateTime")),
              QStringLiteral("2024-06-01 08:00:00"));

    // The command reads the real clock; the fixture's own clock is set to now for this.
    *now = QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(keepAlive(QStringLiteral("carol"), verfy).accepted());
    service->flushSessions();
    const ProcessRun online = run({QStringLiteral("online")});
    EXPECT_EQ(online.exitCode, 0);
    EXPECT_TRUE(online.out.contains(QStringLiteral("carol\t127.0.0.1")))
        << online.out.toStdString();
    EXPECT_TRUE(online.out.contains(QStringLiteral("1 online")));
}

TEST_F(AdministrationCommands, RefuseBadArgumentsWithoutTouchingTheDatabase)
{
    ASSERT_EQ(
        run({QStringLiteral("add-user"), QStringLiteral("dave"), QStringLiteral("pw123")}).exitCode,
        0);
    const QString before = databaseSnapshot();
    EXPECT_EQ(
        run({QStringLiteral("add-user"), QStringLiteral("DAVE"), QStringLiteral("other")}).exitCode,
        1);
    EXPECT_EQ(
        run({QStringLiteral("add-user"), QStringLiteral("x'y"), QStringLiteral("pw123")}).exitCode,
        1);
    EXPECT_EQ(run({QStringLiteral("post-message"), QStringLiteral("nobody"),
                   QStringLiteral("--from"), QStringLiteral("a"), QStringLiteral("--from-ip"),
                   QStringLiteral("1.1.1.1"), QStringLiteral("--comment"), QStringLiteral("hi")})
                  .exitCode,
              1);
    EXPECT_EQ(run({QStringLiteral("post-message"), QStringLiteral("dave"),
                   QStringLiteral("--comment"), QStringLiteral("no sender")})
                  .exitCode,
              2);
    EXPECT_EQ(run({QStringLiteral("add-user"), QStringLiteral("onlyid")}).exitCode, 2);
    EXPECT_EQ(databaseSnapshot(), before);
}

TEST(CommandLine, ParsesTheServeOptionsAndTheHelp)
{
    Command command = ParseCommandLine({QStringLiteral("--listen"), QStringLiteral("0.0.0.0:9090"),
                                        QStringLiteral("--db=/tmp/x.db"),
                                        QStringLiteral("--period"), QStringLiteral("15")});
    ASSERT_TRUE(command.error.isEmpty()) << command.error.toStdString();
    EXPECT_EQ(command.kind, CommandKind::Serve);
    EXPECT_EQ(command.options.host, "0.0.0.0");
    EXPECT_EQ(command.options.port, 9090);
    EXPECT_EQ(command.options.databasePath, QStringLiteral("/tmp/x.db"));
    EXPECT_EQ(command.options.periodSeconds, 15);

    EXPECT_FALSE(
        ParseCommandLine({QStringLiteral("--listen"), QStringLiteral("9090")}).error.isEmpty());
    EXPECT_FALSE(
        ParseCommandLine({QStringLiteral("--period"), QStringLiteral("0")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--bogus")}).error.isEmpty());
    EXPECT_EQ(ParseCommandLine({QStringLiteral("online"), QStringLiteral("--help")}).kind,
              CommandKind::Help);

    const ProcessRun help = RunService({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("post-message TO_ID --from ID")));
}

} // namespace
