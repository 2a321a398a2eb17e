#include "core/cp936.h"
#include "core/loginfo.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral("系统");
const QString kPlace = QStringLiteral("本地");
const QString kDateTime = QStringLiteral(R"(\d{4}-\d{1,2}-\d{1,2},\d{1,2}:\d{2}:\d{2})");

// `prefix` + date and time + `suffix`, the whole line.
bool matchesLine(const QString &line, const QString &prefix, const QString &suffix)
{
    const QRegularExpression pattern(QStringLiteral("^") + QRegularExpression::escape(prefix) +
                                     kDateTime + QRegularExpression::escape(suffix) +
                                     QStringLiteral("$"));
    return pattern.match(line).hasMatch();
}

void expectLine(const QString &line, const QString &prefix, const QString &suffix)
{
    EXPECT_TRUE(matchesLine(line, prefix, suffix)) << line.toStdString();
}

} // namespace

TEST(LogInfo, LineFormatFollowsTheKind)
{
    const QString login = QStringLiteral("登录服务器");
    const QString detail = QStringLiteral("Logid:ruruv");
    const QString suffix = QStringLiteral("  [登录服务器] - Logid:ruruv  系统 (本地)");
    expectLine(TLogInfo::FormatLine(TLogInfo::Success, kSource, kPlace, login, detail),
               QStringLiteral("成功  "), suffix);
    expectLine(TLogInfo::FormatLine(TLogInfo::Failure, kSource, kPlace, login, detail),
               QStringLiteral("失败  "), suffix);
    expectLine(TLogInfo::FormatLine(TLogInfo::Notice, kSource, kPlace, login, detail),
               QStringLiteral("注意  "), suffix);
    for (int unknown : {2, -2, 42})
        expectLine(TLogInfo::FormatLine(unknown, kSource, kPlace, login, detail),
                   QStringLiteral("  "), suffix);
    // An empty detail: " - " runs straight into the two blanks before the source.
    expectLine(TLogInfo::FormatLine(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"),
                                    QString()),
               QStringLiteral("成功  "), QStringLiteral("  [软件启动] -   系统 (本地)"));
}

TEST(LogInfo, EntriesAreAppendedAsCp936LinesInOrder)
{
    TestAppDir dir;
    dir.write(QStringLiteral("log/log.txt"), QByteArrayLiteral("older line\r\n"));
    const TLogInfo log(dir.file(QStringLiteral("log/log.txt")));
    log.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(), true);
    log.Write(TLogInfo::Failure, kSource, kPlace, QStringLiteral("注销服务器"),
              QStringLiteral("用户不存在"), true);

    const QByteArray bytes = dir.read(QStringLiteral("log/log.txt"));
    EXPECT_TRUE(bytes.contains(cp936::encode(QStringLiteral("软件启动"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("软件启动").toUtf8()));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = cp936::decode(bytes.chopped(2)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("older line"));
    expectLine(lines[1], QStringLiteral("成功  "), QStringLiteral("  [软件启动] -   系统 (本地)"));
    expectLine(lines[2], QStringLiteral("失败  "),
               QStringLiteral("  [注销服务器] - 用户不存在  系统 (本地)"));
}

TEST(LogInfo, DisabledWritesNoFileAndNoDirectory)
{
    TestAppDir dir;
    const TLogInfo log(dir.file(QStringLiteral("log/log.txt")));
    log.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(), false);
    EXPECT_FALSE(dir.exists(QStringLiteral("log")));
}

TEST(LogInfo, FirstEntryCreatesTheDirectory)
{
    TestAppDir dir;
    const TLogInfo log(dir.file(QStringLiteral("log/log.txt")));
    log.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(), true);
    const QByteArray bytes = dir.read(QStringLiteral("log/log.txt"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1);
}

TEST(LogInfo, UnwritableLogSkipsTheEntry)
{
    TestAppDir dir;
    // Permission bits do not stop root, so use places no one can write: below a regular file,
    // and a directory where the file should be.
    dir.write(QStringLiteral("log"), QByteArrayLiteral("a file"));
    const TLogInfo belowFile(dir.file(QStringLiteral("log/log.txt")));
    belowFile.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(),
                    true);
    EXPECT_EQ(dir.read(QStringLiteral("log")), QByteArrayLiteral("a file"));

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other/log.txt")));
    const TLogInfo onDirectory(dir.file(QStringLiteral("other/log.txt")));
    onDirectory.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(),
                      true);
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("other/log.txt"))).isDir());
}
