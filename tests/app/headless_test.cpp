#include "core/cp936.h"
#include "core/passwordscrambler.h"
#include "headlessprocess.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kConfig = QStringLiteral("config.xml");
const QString kLog = QStringLiteral("log/log.txt");
const QString kAutostart = QStringLiteral("autostart/marbello.desktop");

QString fourLines(const QString &configElement)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<configures>\r\n") +
           configElement + QStringLiteral("\r\n</configures>\r\n");
}

// What a start without a usable config.xml writes; "%1" stands for the stored password.
const QString kDefaultConfig = fourLines(QStringLiteral(
    "<config Version=\"0.994\" LastLogid=\"\" LastPassword=\"%1\" AutoLogin=\"0\" AutoRun=\"1\" "
    "OpenWebAfterLogin=\"0\" WebISOpen=\"0\" WebISDynamic=\"0\" WebPort=\"0\" WebStaticURL=\"\" "
    "NotLoginURL=\"\" WebTitle=\"\" WebKeyword=\"\" WebIntro=\"\" WebAreas=\"\" IfLog=\"1\" "
    "InetTimeOut=\"4000\" />"));

// The file's text with its LastPassword value taken out, and that value.
struct SavedConfig
{
    QString text;
    QString password;
};

SavedConfig splitPassword(const QByteArray &bytes)
{
    static const QRegularExpression pattern(QStringLiteral(" LastPassword=\"([^\"]*)\" "));
    SavedConfig saved{cp936::decode(bytes), QString()};
    const QRegularExpressionMatch match = pattern.match(saved.text);
    if (match.hasMatch()) {
        saved.password = match.captured(1);
        saved.text.replace(match.capturedStart(1), match.capturedLength(1), QStringLiteral("%1"));
    }
    return saved;
}

void expectHexDigits(const QString &text, qsizetype count)
{
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[0-9A-F]{%1}$").arg(count)).match(text).hasMatch())
        << text.toStdString();
}

void expectSystemLine(const QString &line, const QString &action)
{
    const QRegularExpression pattern(
        QStringLiteral(
            R"(^成功  \d{4}-\d{1,2}-\d{1,2},\d{1,2}:\d{2}:\d{2}  \[%1\] -   系统 \(本地\)$)")
            .arg(action));
    EXPECT_TRUE(pattern.match(line).hasMatch()) << line.toStdString();
}

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

    void writeConfigElement(const QString &element) const
    {
        app.write(kConfig, cp936::encode(fourLines(element)));
    }

    TestAppDir app;
    TestAppDir runtime;
    TestAppDir configHome;
};

} // namespace

TEST_F(HeadlessTest, FirstStartWritesTheDefaultsTheLogAndTheAutostartEntry)
{
    EXPECT_EQ(runOnce(), 0);

    const SavedConfig saved = splitPassword(app.read(kConfig));
    EXPECT_EQ(saved.text, kDefaultConfig);
    expectHexDigits(saved.password, 2);

    const QByteArray log = app.read(kLog);
    EXPECT_TRUE(log.contains(cp936::encode(QStringLiteral("[软件启动]"))));
    ASSERT_TRUE(log.endsWith("\r\n"));
    const QStringList lines = cp936::decode(log.chopped(2)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2);
    expectSystemLine(lines[0], QStringLiteral("软件启动"));
    expectSystemLine(lines[1], QStringLiteral("软件退出"));

    const QByteArray entry = configHome.read(kAutostart);
    EXPECT_TRUE(entry.contains("\nExec=" + QFile::encodeName(marbelloExecutable()) + '\n'))
        << entry.data();
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
    const QByteArray log = app.read(kLog);

    HeadlessProcess second(dirs());
    second.start();
    EXPECT_EQ(second.waitForExit(), 1);
    EXPECT_TRUE(second.standardError().contains("已经有实例运行中"))
        << second.standardError().data();
    EXPECT_EQ(inodeOf(app.file(kConfig)), config);
    EXPECT_EQ(inodeOf(configHome.file(kAutostart)), autostart);
    EXPECT_EQ(app.read(kLog), log);

    // The first copy runs on, and once it is gone another may start.
    EXPECT_EQ(first.stop(SIGTERM), 0);
    EXPECT_EQ(runOnce(), 0);
}

TEST_F(HeadlessTest, StoredSettingsAreCorrectedAndKeptAcrossARun)
{
    configHome.write(kAutostart, QByteArrayLiteral("[Desktop Entry]\n"));
    writeConfigElement(QStringLiteral(
        "<config Version=\"0.9\" LastLogid=\"ruruv\" LastPassword=\"\" AutoLogin=\"1\" "
        "AutoRun=\"0\" OpenWebAfterLogin=\"1\" WebISOpen=\"0\" WebISDynamic=\"1\" "
        "WebPort=\"abc\" WebStaticURL=\"http://a.example/?x=1&amp;y=2\" NotLoginURL=\"\" "
        "WebTitle=\"A&amp;B &quot;C&quot;\" WebKeyword=\"朱镕基囧\" WebIntro=\"介绍\" "
        "WebAreas=\"电脑\" IfLog=\"0\" InetTimeOut=\"4500\" />"));

    EXPECT_EQ(runOnce(SIGINT), 0);

    const SavedConfig saved = splitPassword(app.read(kConfig));
    EXPECT_EQ(
        saved.text,
        fourLines(QStringLiteral(
            "<config Version=\"0.994\" LastLogid=\"ruruv\" LastPassword=\"%1\" "
            "AutoLogin=\"0\" AutoRun=\"0\" OpenWebAfterLogin=\"1\" WebISOpen=\"0\" "
            "WebISDynamic=\"1\" WebPort=\"80\" WebStaticURL=\"http://a.example/?x=1&amp;y=2\" "
            "NotLoginURL=\"\" WebTitle=\"A&amp;B &quot;C&quot;\" WebKeyword=\"朱镕基囧\" "
            "WebIntro=\"介绍\" WebAreas=\"电脑\" IfLog=\"0\" InetTimeOut=\"5000\" />")));
    expectHexDigits(saved.password, 2);
    EXPECT_TRUE(app.read(kConfig).contains(cp936::encode(QStringLiteral("朱镕基囧"))));
    EXPECT_FALSE(configHome.exists(kAutostart));
    EXPECT_FALSE(app.exists(QStringLiteral("log")));
}

TEST_F(HeadlessTest, LongPasswordSurvivesUnderTheExecutablesKey)
{
    const QString key = marbelloExecutable().left(10);
    const QString password = QStringLiteral("abcdEFGH12345678");
    writeConfigElement(
        QStringLiteral(
            "<config Version=\"0.994\" LastLogid=\"\" LastPassword=\"%1\" AutoLogin=\"0\" "
            "AutoRun=\"1\" OpenWebAfterLogin=\"0\" WebISOpen=\"0\" WebISDynamic=\"0\" "
            "WebPort=\"8080\" WebStaticURL=\"\" NotLoginURL=\"\" WebTitle=\"\" "
            "WebKeyword=\"\" WebIntro=\"\" WebAreas=\"\" IfLog=\"1\" "
            "InetTimeOut=\"8000\" />")
            .arg(PasswordScrambler::Scramble(password, key)));

    EXPECT_EQ(runOnce(), 0);

    const SavedConfig saved = splitPassword(app.read(kConfig));
    expectHexDigits(saved.password, 34);
    EXPECT_EQ(PasswordScrambler::Unscramble(saved.password, key), password);
    EXPECT_TRUE(saved.text.contains(QStringLiteral(" WebPort=\"8080\" ")));
    EXPECT_TRUE(saved.text.contains(QStringLiteral(" InetTimeOut=\"8000\" />")));
}

TEST_F(HeadlessTest, BrokenConfigIsReplacedByTheDefaults)
{
    app.write(kConfig, QByteArrayLiteral("<configures><config LastLogid=\"x\""));
    EXPECT_EQ(runOnce(), 0);
    EXPECT_EQ(splitPassword(app.read(kConfig)).text, kDefaultConfig);
}

TEST_F(HeadlessTest, UnwritableConfigIsReportedAndStartAndCloseStillComplete)
{
    writeConfigElement(QStringLiteral(
        "<config Version=\"0.994\" LastLogid=\"ruruv\" LastPassword=\"\" AutoLogin=\"0\" "
        "AutoRun=\"0\" OpenWebAfterLogin=\"0\" WebISOpen=\"0\" WebISDynamic=\"0\" WebPort=\"80\" "
        "WebStaticURL=\"\" NotLoginURL=\"\" WebTitle=\"kept\" WebKeyword=\"\" WebIntro=\"\" "
        "WebAreas=\"\" IfLog=\"0\" InetTimeOut=\"5000\" />"));
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
