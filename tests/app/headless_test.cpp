#include "core/cp936.h"
#include "core/passwordscrambler.h"
#include "headlessprocess.h"
#include "tests/core/configfile.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kConfig = QStringLiteral("config.xml");
const QString kAutostart = QStringLiteral("autostart/marbello.desktop");

// No log, no start at logon; %1 to %4 are Version, LastPassword, WebPort and InetTimeOut.
const QString kSettings = QStringLiteral(
    "<config Version=\"%1\" LastLogid=\"ruruv\" LastPassword=\"%2\" AutoLogin=\"0\" "
    "AutoRun=\"0\" OpenWebAfterLogin=\"1\" WebISOpen=\"0\" WebISDynamic=\"1\" WebPort=\"%3\" "
    "WebStaticURL=\"http://a.example/?x=1&amp;y=2\" NotLoginURL=\"\" "
    "WebTitle=\"A&amp;B &quot;C&quot;\" WebKeyword=\"朱镕基囧\" WebIntro=\"介绍\" "
    "WebAreas=\"电脑\" IfLog=\"0\" InetTimeOut=\"%4\" />");

class HeadlessTest : public ::testing::Test
{
protected:
    ClientDirs dirs() const { return {app.path(), runtime.path(), configHome.path()}; }

    // A start and a stop by `signal`; the exit status.
    int runOnce(int signal = SIGTERM)
    {
        HeadlessProcess client(dirs());
        client.start();
        EXPECT_TRUE(client.waitUntilStarted()) << client.standardError().data();
        return client.stop(signal);
    }

    TestAppDir app, runtime, configHome;
};

} // namespace

TEST_F(HeadlessTest, FirstStartWritesTheDefaultsTheLogAndTheAutostartEntry)
{
    EXPECT_EQ(runOnce(), 0);
    EXPECT_EQ(masked(app.read(kConfig)), defaultConfigFile(0));

    const QString line = QStringLiteral(
        R"(成功  \d{4}-[1-9]\d?-[1-9]\d?,[1-9]?\d:\d{2}:\d{2}  \[软件%1\] -   系统 \(本地\)\r\n)");
    const QRegularExpression bothLines(QLatin1Char('^') + line.arg(QStringLiteral("启动")) +
                                       line.arg(QStringLiteral("退出")) + QStringLiteral("\\z"));
    const QString log = cp936::decode(app.read(QStringLiteral("log/log.txt")));
    EXPECT_TRUE(bothLines.match(log).hasMatch()) << log.toStdString();
    // The entry starts this client: the same files, the same service.
    EXPECT_TRUE(configHome.read(kAutostart)
                    .contains("\nExec=" + QFile::encodeName(marbelloExecutable()) + " --app-dir " +
                              QFile::encodeName(app.path()) + " --service 127.0.0.1:1\n"))
        << configHome.read(kAutostart).data();

    // A broken file is replaced by the defaults too.
    app.write(kConfig, QByteArrayLiteral("<configures><config LastLogid=\"x\""));
    EXPECT_EQ(runOnce(SIGINT), 0);
    EXPECT_EQ(masked(app.read(kConfig)), defaultConfigFile(0));
}

TEST_F(HeadlessTest, SecondCopyRefusesToStartAndTouchesNothing)
{
    // The start-at-logon entry is the last thing start-up writes.
    ASSERT_TRUE(QDir(configHome.path()).mkpath(QStringLiteral("autostart")));
    HeadlessProcess first(dirs());
    first.start();
    ASSERT_TRUE(first.waitUntil([this] { return configHome.exists(kAutostart); }));
    const ino_t config = inodeOf(app.file(kConfig));
    const ino_t autostart = inodeOf(configHome.file(kAutostart));
    const QByteArray log = app.read(QStringLiteral("log/log.txt"));

    HeadlessProcess second(dirs());
    second.start();
    EXPECT_EQ(second.waitForExit(), 1);
    EXPECT_TRUE(second.standardError().contains("已经有实例运行中"))
        << second.standardError().data();
    EXPECT_EQ(inodeOf(app.file(kConfig)), config);
    EXPECT_EQ(inodeOf(configHome.file(kAutostart)), autostart);
    EXPECT_EQ(app.read(QStringLiteral("log/log.txt")), log);

    // Once the first copy is gone another may start.
    EXPECT_EQ(first.stop(SIGTERM), 0);
    EXPECT_EQ(runOnce(), 0);
}

TEST_F(HeadlessTest, StoredSettingsAreCorrectedAndKeptAcrossARun)
{
    const QByteArray key = PasswordScrambler::KeyFor(marbelloExecutable());
    const QString password = QStringLiteral("abcdEFGH12345678");
    app.write(kConfig, configFile(kSettings.arg(QStringLiteral("0.9"),
                                                PasswordScrambler::Scramble(password, key),
                                                QStringLiteral("abc"), QStringLiteral("4500"))));
    configHome.write(kAutostart, QByteArrayLiteral("[Desktop Entry]\n"));

    EXPECT_EQ(runOnce(SIGINT), 0);

    const QByteArray saved = app.read(kConfig);
    EXPECT_EQ(masked(saved),
              configFile(kSettings.arg(QStringLiteral("0.994"), QStringLiteral("#34"),
                                       QStringLiteral("80"), QStringLiteral("5000")))
                  .toStdString());
    const qsizetype at = saved.indexOf("LastPassword=\"") + 14;
    EXPECT_EQ(PasswordScrambler::Unscramble(QString::fromLatin1(saved.mid(at, 34)), key), password);
    EXPECT_FALSE(configHome.exists(kAutostart));
    EXPECT_FALSE(app.exists(QStringLiteral("log")));
}

TEST_F(HeadlessTest, UnwritableConfigIsReportedAndStartAndCloseStillComplete)
{
    app.write(kConfig, configFile(kSettings.arg(QStringLiteral("0.994"), QString(),
                                                QStringLiteral("80"), QStringLiteral("5000"))));
    const QByteArray before = app.read(kConfig);

    HeadlessProcess client(dirs());
    // As a full disk: no file the client writes may grow past 64 bytes. Permission bits would
    // not stop a client running as root.
    client.setChildModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &cap);
    });
    client.start();
    // Start-up is over once it has reported the failed rewrite.
    ASSERT_TRUE(client.waitUntil([&client] {
        return client.standardError().contains("config.xml");
    })) << client.standardError().data();
    EXPECT_EQ(client.stop(SIGTERM), 0);

    EXPECT_EQ(app.read(kConfig), before);
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kConfig});
    // Both the start-up and the closing rewrite were reported.
    EXPECT_EQ(client.standardError().count("config.xml"), 2) << client.standardError().data();
}
