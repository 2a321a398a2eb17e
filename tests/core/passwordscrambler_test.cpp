#include "core/passwordscrambler.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using PasswordScrambler::Scramble;
using PasswordScrambler::Unscramble;

namespace {

const QString kKey = QStringLiteral("/opt/marbe");

bool isUpperHex(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9A-F]{2})+$"));
    return pattern.match(text).hasMatch();
}

} // namespace

TEST(PasswordScrambler, RoundTripsAsciiChineseAndKeysShorterThanThePassword)
{
    const QString passwords[] = {QStringLiteral("secret"), QStringLiteral("密码镕囧"),
                                 QStringLiteral("abcdefghijklmnopqrst"),
                                 QStringLiteral("~!@#$%^&*")};
    for (const QString &key : {kKey, QStringLiteral("ab"), QStringLiteral("路径"), QString()}) {
        for (const QString &password : passwords) {
            const QString scrambled = Scramble(password, key);
            SCOPED_TRACE(scrambled.toStdString());
            EXPECT_TRUE(isUpperHex(scrambled));
            EXPECT_EQ(Unscramble(scrambled, key), password);
        }
    }
}

TEST(PasswordScrambler, EmptyPasswordIsTwoDigits)
{
    const QString scrambled = Scramble(QString(), kKey);
    EXPECT_EQ(scrambled.size(), 2);
    EXPECT_TRUE(isUpperHex(scrambled));
    EXPECT_EQ(Unscramble(scrambled, kKey), QString());
}

TEST(PasswordScrambler, StartValueVariesFromSaveToSave)
{
    QSet<QString> seen;
    for (int i = 0; i < 32; ++i)
        seen.insert(Scramble(QStringLiteral("secret"), kKey));
    EXPECT_GT(seen.size(), 1);
}

TEST(PasswordScrambler, EmptyKeyMeansTheFixedKey)
{
    // Worked by hand with the key "Moon Garden": each sum is taken modulo 255, not 256
    // (0xF0 + 'z' = 362 -> 107), and a start value of 0xFF wraps the same way.
    EXPECT_EQ(Unscramble(QStringLiteral("103CF1"), QString()), QStringLiteral("ab"));
    EXPECT_EQ(Unscramble(QStringLiteral("F026"), QString()), QStringLiteral("z"));
    EXPECT_EQ(Unscramble(QStringLiteral("FF8E04"), QString()), QStringLiteral("密"));
    EXPECT_EQ(Unscramble(QStringLiteral("103CF1"), QStringLiteral("Moon Garden")),
              QStringLiteral("ab"));

    const QString scrambled = Scramble(QStringLiteral("secret"), QString());
    EXPECT_EQ(Unscramble(scrambled, QStringLiteral("Moon Garden")), QStringLiteral("secret"));
}

TEST(PasswordScrambler, AnotherKeyGivesAnotherPassword)
{
    const QString scrambled = Scramble(QStringLiteral("secret"), kKey);
    const std::optional<QString> other = Unscramble(scrambled, QStringLiteral("/usr/local"));
    ASSERT_TRUE(other);
    EXPECT_NE(*other, QStringLiteral("secret"));
}

TEST(PasswordScrambler, StoredValueThatIsNotHexPairsGivesNothing)
{
    for (const char *bad : {"", "A", "ABC", "GG00", "12 4", "0x12", "12-4"})
        EXPECT_FALSE(Unscramble(QLatin1String(bad), kKey)) << bad;
}
