#include "core/cp936.h"

#include <gtest/gtest.h>

TEST(Cp936, GbkOnlyCharactersRoundTripAndCutsKeepWholeCharacters)
{
    // 镕 and 囧 are GBK-only: a strict GB2312 codec would turn them into '?'.
    const QString text = QStringLiteral("朱镕基囧 abc");
    EXPECT_EQ(cp936::encode(text).size(), 12);
    EXPECT_EQ(cp936::decode(cp936::encode(text)), text);

    const QString mixed = QStringLiteral("a中文字"); // 1 + 2 + 2 + 2 bytes
    for (const auto &[bytes, characters] : {std::pair{7, 4}, {6, 3}, {4, 2}, {2, 1}, {0, 0}})
        EXPECT_EQ(cp936::cutToBytes(mixed, bytes), mixed.left(characters)) << bytes;

    const FixedText<20> id = QStringLiteral("a") + QString(10, QChar(0x4E2D)); // 21 bytes
    EXPECT_EQ(id.text(), QStringLiteral("a") + QString(9, QChar(0x4E2D)));
}
