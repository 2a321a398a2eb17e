#include "core/cp936.h"

#include <gtest/gtest.h>

TEST(Cp936, RoundTripsGbkCharactersOutsideGb2312)
{
    // 镕 and 囧 are GBK-only: a strict GB2312 codec would turn them into '?'.
    const QString text = QStringLiteral("朱镕基囧 abc");
    const QByteArray bytes = cp936::encode(text);
    EXPECT_EQ(bytes.size(), 4 * 2 + 4);
    EXPECT_EQ(cp936::decode(bytes), text);
}

TEST(Cp936, CutNeverSplitsADoubleByteCharacter)
{
    const QString text = QStringLiteral("a中文字");
    EXPECT_EQ(cp936::cutToBytes(text, 7), text);
    EXPECT_EQ(cp936::cutToBytes(text, 6), QStringLiteral("a中文"));
    EXPECT_EQ(cp936::cutToBytes(text, 4), QStringLiteral("a中"));
    EXPECT_EQ(cp936::cutToBytes(text, 2), QStringLiteral("a"));
    EXPECT_EQ(cp936::cutToBytes(text, 0), QString());
}

TEST(Cp936, FixedTextKeepsItsByteLimit)
{
    FixedText<20> id;
    id = QStringLiteral("abcdefghijklmnopqrstuvwxy"); // 25 bytes
    EXPECT_EQ(id.text(), QStringLiteral("abcdefghijklmnopqrst"));
    id = QString(11, QChar(0x4E2D)); // 22 bytes of 中
    EXPECT_EQ(cp936::byteLength(id.text()), 20);
    EXPECT_EQ(id.text().size(), 10);
}
