#include "core/cp936.h"
#include "core/passwordscrambler.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace PasswordScrambler;

const QByteArray kKey = "/opt/marbe";

TEST(PasswordScrambler, RoundTripsUnderAnyKeyAsUpperCaseHexPairs)
{
    static const QRegularExpression hexPairs(QStringLiteral("^([0-9A-F]{2})+$"));
    for (const QByteArray &key : {kKey, QByteArray("ab"), cp936::encode(u"路径"),
                                  cp936::encode(u"路径").first(3), QByteArray()}) {
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
    EXPECT_EQ(Unscramble(QStringLiteral("F026"), QByteArray()), QStringLiteral("z"));
    const QString scrambled = Scramble(QStringLiteral("secret"), QByteArray());
    EXPECT_EQ(Unscramble(scrambled, "Moon Garden"), QStringLiteral("secret"));
    EXPECT_NE(Unscramble(scrambled, kKey), QStringLiteral("secret"));

    for (const char *bad : {"", "A", "ABC", "GG00", "12 4", "0x12"})
        EXPECT_FALSE(Unscramble(QLatin1String(bad), kKey)) << bad;
}

// Values as an installation at these paths writes them, worked out byte by byte: with the start
// value 0x5A, the first byte of "密" (0xC3) gives (0x5A + 0xC3) mod 255 = 30, and 30 ^ '/' = 0x31.
// The key's tenth byte is the first half of "软"; the thirteen password bytes wrap round it.
TEST(PasswordScrambler, StoredValuesUnscrambleUnderTheKeyOfTheirPath)
{
    const QString password = QStringLiteral("密码p+w 12345");
    for (const auto &[path, stored] :
         {std::pair{u"/opt/马贝罗软件/marbello", "5A316154348B7406977C6CB08BB0"},
          {u"C:\\马贝罗软件\\marbello.exe", "5A5D009E4855311CFEEEE95EA881"}}) {
        const QByteArray key = KeyFor(QString::fromUtf16(path));
        EXPECT_EQ(key.size(), 10);
        EXPECT_EQ(Unscramble(QLatin1String(stored), key), password) << stored;
        EXPECT_EQ(Unscramble(Scramble(password, key), key), password);
    }
}
