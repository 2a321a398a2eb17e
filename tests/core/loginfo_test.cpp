#include "core/cp936.h"
#include "core/loginfo.h"
#include "tests/support/testfiles.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral("系统");
const QString kPlace = QStringLiteral("本地");

// `prefix`, the date and time without leading zeros, then `suffix`: the whole line.
void expectLine(const QString &line, const QString &prefix, const QString &suffix)
{
    const QRegularExpression pattern(
        QLatin1Char('^') + QRegularExpression::escape(prefix) +
        QStringLiteral(R"(\d{4}-[1-9]\d?-[1-9]\d?,[1-9]?\d:\d{2}:\d{2})") +
        QRegularExpression::escape(suffix) + QLatin1Char('$'));
    EXPECT_TRUE(pattern.match(line).hasMatch()) << line.toStdString();
}

} // namespace

TEST(LogInfo, AppendsOneCp936LinePerEntryAndSkipsWhatItCannotWrite)
{
    TestAppDir dir;
    const TLogInfo log(dir.file(QStringLiteral("log/log.txt")));
    log.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("x"), QString(), false);
    EXPECT_FALSE(dir.exists(QStringLiteral("log")));

    const int kinds[] = {TLogInfo::Success, TLogInfo::Failure, TLogInfo::Notice, 2, -2};
    for (const int kind : kinds)
        log.Write(kind, kSource, kPlace, QStringLiteral("注销"), QStringLiteral("无此用户"), true);
    log.Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("软件启动"), QString(), true);

    const QByteArray bytes = dir.read(QStringLiteral("log/log.txt"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = cp936::decode(bytes.chopped(2)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6);
    const QStringList words = {QStringLiteral("成功"), QStringLiteral("失败"),
                               QStringLiteral("注意"), QString(), QString()};
    for (int i = 0; i < 5; ++i)
        expectLine(lines[i], words[i] + QStringLiteral("  "),
                   QStringLiteral("  [注销] - 无此用户  系统 (本地)"));
    expectLine(lines[5], QStringLiteral("成功  "), QStringLiteral("  [软件启动] -   系统 (本地)"));

    // Below a regular file nothing can be created, even by root.
    dir.write(QStringLiteral("file"), QByteArrayLiteral("x"));
    TLogInfo(dir.file(QStringLiteral("file/log.txt")))
        .Write(TLogInfo::Success, kSource, kPlace, QStringLiteral("x"), QString(), true);
    EXPECT_EQ(dir.read(QStringLiteral("file")), QByteArrayLiteral("x"));
}

TEST(LogInfo, LineBreaksInAnyFieldBecomeBlanks)
{
    TestAppDir dir;
    const TLogInfo log(dir.file(QStringLiteral("log.txt")));
    const QString forged = QStringLiteral("x\r\n成功  2026-1-1,0:00:00  [登录服务器] - forged\n");
    log.Write(TLogInfo::Failure, forged, kPlace, QStringLiteral("a\rb"), forged, true);
    const QString text = cp936::decode(dir.read(QStringLiteral("log.txt")));
    ASSERT_EQ(text.count(QLatin1Char('\n')), 1);
    ASSERT_EQ(text.count(QLatin1Char('\r')), 1);
    const QString blanked = QStringLiteral("x  成功  2026-1-1,0:00:00  [登录服务器] - forged ");
    expectLine(text.chopped(2), QStringLiteral("失败  "),
               QStringLiteral("  [a b] - ") + blanked + QStringLiteral("  ") + blanked +
                   QStringLiteral(" (本地)"));
}
