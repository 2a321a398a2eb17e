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

    // A lone high surrogate before a real pair: the cut never ends inside the pair.
    const QChar high(0xD840), low(0xDC00);
    const QString lone = QString(20, QLatin1Char('x')) + high + high + low;
    const QString cut = cp936::cutToBytes(lone, 22);
    EXPECT_FALSE(cut.endsWith(high) && cut.size() == lone.size() - 1) << cut.size();
}

TEST(Cp936, LackingCharactersAndBadBytesHaveDefinedFallbacks)
{
    // U+E000 is in ICU's private-use mapping but not the code page; U+E0041 is a tag character,
    // which the C library would drop without a word.
    const QString lacking = QStringLiteral("a\uE000b") + QString::fromUcs4(U"\U000E0041") +
                            QStringLiteral("\uFFFF\u20AC");
    EXPECT_EQ(cp936::encode(lacking), QByteArrayLiteral("a?b??\x80"));
    EXPECT_EQ(cp936::encodeForXml(lacking), QByteArrayLiteral("a&#57344;b&#917569;\x80"));
    EXPECT_EQ(cp936::encodeForXml(QStringLiteral("\x01\t") + QChar(0xD800)),
              QByteArrayLiteral("\t"));

    const std::pair<QByteArray, QString> decoded[] = {
        {QByteArrayLiteral("\xaa\xa1z"), QStringLiteral("\uFFFD\uFFFDz")},
        {QByteArrayLiteral("a\xd6"), QStringLiteral("a\uFFFD")},
        {QByteArrayLiteral("\xd6\xd0\xff"), QStringLiteral("中\uFFFD")},
        {QByteArray(), QString()},
    };
    for (const auto &[bytes, text] : decoded)
        EXPECT_EQ(cp936::decode(bytes), text) << bytes.toHex().toStdString();
}
