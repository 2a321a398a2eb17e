#include "core/cp936.h"
#include "core/passwordscrambler.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace PasswordScrambler;

const QString kKey = QStringLiteral("/opt/marbe");

TEST(PasswordScrambler, RoundTripsUnderAnyKeyAsUpperCaseHexPairs)
{
    static const QRegularExpression hexPairs(QStringLiteral("^([0-9A-F]{2})+$"));
    for (const QString &key : {kKey, QStringLiteral("ab"), QStringLiteral("路径"), QString()}) {
        for (const QString &password :
             {QString(), QStringLiteral("secret"), QStringLiteral("密码镕囧"),
              QStringLiteral("abcdefghijklmnopqrst")}) {
            const QString scrambled = Scramble(password, key);
            SCOPED_TRACE(scrambled.toStdString());
            EXPECT_TRUE(hexPairs.match(scrambled).hasMatch());
            EXPECT_EQ(scrambled.size(), 2 + 2 * cp936::byteLength(password));
            EXPECT_EQ(Unscramble(scrambled, key), password);
        }
    }
}

TEST(PasswordScrambler, EmptyKeyMeansMoonGardenAndBadValuesGiveNothing)
{
    // By hand: 0xF0 + 'z' = 362 is 107 modulo 255 (not 106 as modulo 256), and 107 ^ 'M' = 0x26.
    EXPECT_EQ(Unscramble(QStringLiteral("F026"), QString()), QStringLiteral("z"));
    const QString scrambled = Scramble(QStringLiteral("secret"), QString());
    EXPECT_EQ(Unscramble(scrambled, QStringLiteral("Moon Garden")), QStringLiteral("secret"));
    EXPECT_NE(Unscramble(scrambled, kKey), QStringLiteral("secret"));

    for (const char *bad : {"", "A", "ABC", "GG00", "12 4", "0x12"})
        EXPECT_FALSE(Unscramble(QLatin1String(bad), kKey)) << bad;
}
