#include "core/cp936.h"
#include "service/requestfields.h"

#include <gtest/gtest.h>

namespace {

QString RefusalOf(const std::function<void()> &read)
{
    try {
        read();
    } catch (const Refusal &refusal) {
        return refusal.reason;
    }
    return {};
}

TEST(RequestFieldsQuery, ValuesMayHoldAmpersandAndEqualsBetweenTheFixedKeys)
{
    const RequestFields fields = RequestFields::fromQuery(
        "/p?logid=abc&password=a&b=c&logid=x&WebIsOpen=1", {"logid", "password", "WebIsOpen"});
    EXPECT_EQ(fields.logid("logid"), QStringLiteral("abc"));
    EXPECT_EQ(fields.text("password", 64), QStringLiteral("a&b=c&logid=x"));
    EXPECT_TRUE(fields.flag("WebIsOpen"));
}

TEST(RequestFieldsQuery, MissingItemsAreReportedByName)
{
    const RequestFields fields =
        RequestFields::fromQuery("/p?logid=abc&WebIsOpen=0", {"logid", "password", "WebIsOpen"});
    EXPECT_FALSE(fields.has("password"));
    EXPECT_FALSE(fields.flag("WebIsOpen"));
    EXPECT_EQ(RefusalOf([&] { fields.text("password", 64); }),
              QStringLiteral("请求缺少参数password"));
    // Keys are the client's exact spelling.
    EXPECT_FALSE(RequestFields::fromQuery("/p?Logid=abc", {"logid"}).has("logid"));
    EXPECT_FALSE(RequestFields::fromQuery("/p", {"logid"}).has("logid"));
}

TEST(RequestFieldsQuery, PercentEscapesAndPlusSigns)
{
    const std::string target = "/p?a=x%20y%2B+z%zz%4&b=x+y%2Bz%";
    const RequestFields fields = RequestFields::fromQuery(target, {"a", "b"});
    // A "+" is a blank only where asked; escapes decode, broken ones stay as sent.
    EXPECT_EQ(fields.text("a", 50), QStringLiteral("x y++z%zz%4"));
    EXPECT_EQ(fields.text("b", 50, Plus::IsBlank), QStringLiteral("x y+z%"));
}

TEST(RequestFieldsQuery, TextIsCp936AndLimitedInBytes)
{
    const std::string target =
        "/p?t=" + cp936::encode(QStringLiteral("中文标题")).toStdString() + "&u=%D6%D0";
    const RequestFields fields = RequestFields::fromQuery(target, {"t", "u"});
    EXPECT_EQ(fields.text("t", 8), QStringLiteral("中文标题"));
    EXPECT_EQ(RefusalOf([&] { fields.text("t", 7); }), QStringLiteral("参数t过长"));
    EXPECT_EQ(fields.text("u", 8), QStringLiteral("中"));
}

TEST(RequestFieldsQuery, NumbersArePlainDecimalInRange)
{
    const auto number = [](const std::string &value) {
        return RequestFields::fromQuery("/p?n=" + value, {"n"}).integer("n", -100, 100);
    };
    EXPECT_EQ(number("42"), 42);
    EXPECT_EQ(number("-7"), -7);
    for (const std::string bad : {"", "+5", "0x10", "5 ", "%205", "1e2", "-", "五"}) {
        EXPECT_EQ(RefusalOf([&] { number(bad); }), QStringLiteral("参数n不是有效的数字")) << bad;
    }
    EXPECT_EQ(RefusalOf([&] { number("101"); }), QStringLiteral("参数n超出范围"));
}

TEST(RequestFieldsLines, OneFieldPerLineWithAmpersandsInsideValues)
{
    const RequestFields fields =
        RequestFields::fromLines("logid=abc\r\n&name=A&B=C\r\n&address=\r\n&email=x@y.z\r\n");
    EXPECT_EQ(fields.logid("logid"), QStringLiteral("abc"));
    EXPECT_EQ(fields.text("name", 50), QStringLiteral("A&B=C"));
    EXPECT_EQ(fields.text("address", 50), QString());
    // Registration values are never escaped: a "%20" is what the user typed.
    EXPECT_EQ(RequestFields::fromLines("name=50%20off\r\n").text("name", 50),
              QStringLiteral("50%20off"));
    EXPECT_EQ(RefusalOf([] { RequestFields::fromLines("logid=a\r\n&logid=b\r\n"); }),
              QStringLiteral("参数logid重复"));
    EXPECT_FALSE(RefusalOf([] { RequestFields::fromLines("garbage\r\n"); }).isEmpty());
}

TEST(RequestFieldsIds, ThreeToTwelveLettersDigitsDashOrUnderscore)
{
    for (const char *good : {"abc", "A-b_9", "abcdefghijkl"})
        EXPECT_TRUE(IsValidLogid(QString::fromLatin1(good))) << good;
    for (const char *bad : {"ab", "abcdefghijklm", "a b", "a'b", "a;b", "ab%", ""})
        EXPECT_FALSE(IsValidLogid(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(IsValidLogid(QStringLiteral("中文名")));
}

} // namespace
