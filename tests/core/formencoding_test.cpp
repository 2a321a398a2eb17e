#include "core/cp936.h"
#include "core/percentencoding.h"

#include <gtest/gtest.h>

TEST(FormEncoding, EveryValueReadsBackAsTyped)
{
    for (const QString &value : {
             QStringLiteral("a&b=c+d%41#e"),
             QStringLiteral("C++ 教程"),
             QStringLiteral(" leading and trailing "),
             QStringLiteral("%%2B%zz%4"),
             QStringLiteral("line\r\nbreak\ttab"),
             QStringLiteral("http://x/?a=1&b=2"),
             QString(),
         }) {
        const QString encoded = FormEncoded(value);
        // Nothing a form decoder or the request line would take for something else is left.
        for (const QChar c : encoded)
            EXPECT_FALSE(QStringView(u" &=#\r\n\t").contains(c)) << qPrintable(encoded);
        EXPECT_EQ(FormDecoded(cp936::encode(encoded)), cp936::encode(value)) << qPrintable(value);
    }
}

TEST(FormEncoding, APercentThatStartsNoEscapeStandsForItself)
{
    EXPECT_EQ(FormDecoded("100%"), "100%");
    EXPECT_EQ(FormDecoded("%4"), "%4");
    EXPECT_EQ(FormDecoded("%g1%41"), "%g1A");
    EXPECT_EQ(FormDecoded("a+b%2b"), "a b+");
}
