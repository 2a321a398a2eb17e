#include "core/cp936.h"
#include "servicefixture.h"

#include <QMap>

namespace {

// The body exactly as the client writes its request file: twelve lines, CR LF each.
QByteArray RegistrationBody(const QMap<QString, QString> &changes = {},
                            const QString &dropped = QString())
{
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("logid"), QStringLiteral("newuser")},
        {QStringLiteral("password"), QStringLiteral("pass1")},
        {QStringLiteral("name"), QStringLiteral("张三")},
        {QStringLiteral("sex"), QStringLiteral("0")},
        {QStringLiteral("Birthday"), QStringLiteral("1977-6-2")},
        {QStringLiteral("Location"), QStringLiteral("中国大陆")},
        {QStringLiteral("address"), QStringLiteral("北京 1号")},
        {QStringLiteral("postalCode"), QStringLiteral("100000")},
        {QStringLiteral("telephone"), QStringLiteral("010-1234")},
        {QStringLiteral("icno"), QString()},
        {QStringLiteral("email"), QStringLiteral("zhang.san@example.cn")},
        {QStringLiteral("IsFromClient"), QStringLiteral("1")},
    };
    QString text;
    for (const auto &[key, value] : fields) {
        if (key == dropped)
            continue;
        text += (text.isEmpty() ? QString() : QStringLiteral("&")) + key + QLatin1Char('=') +
                changes.value(key, value) + QStringLiteral("\r\n");
    }
    return cp936::encode(text);
}

class Registration : public ServiceFixture
{
protected:
    Answer registerWith(const QByteArray &body)
    {
        return ReadAnswer(PostRaw(port, "/user/UserRegisterDo.asp", body));
    }
};

TEST_F(Registration, CreatesAnAccountThatCanLogIn)
{
    const Answer answer = registerWith(RegistrationBody());
    ASSERT_TRUE(answer.accepted()) << answer.reply.body.constData();
    EXPECT_TRUE(answer.reply.body.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(login(QStringLiteral("newuser"), QStringLiteral("pass1")).accepted());
    EXPECT_TRUE(databaseSnapshot().contains(QStringLiteral("|张三|0|1977-6-2|中国大陆|北京 1号|")));
}

TEST_F(Registration, ValuesKeepAmpersandAndEquals)
{
    ASSERT_TRUE(
        registerWith(RegistrationBody({{QStringLiteral("name"), QStringLiteral("A&B=C")},
                                       {QStringLiteral("password"), QStringLiteral("p&w=1")}}))
            .accepted());
    EXPECT_TRUE(databaseSnapshot().contains(QStringLiteral("|A&B=C|")));
    EXPECT_TRUE(login(QStringLiteral("newuser"), QStringLiteral("p&w=1")).accepted());
}

TEST_F(Registration, RefusalsNameTheProblemAndChangeNothing)
{
    ASSERT_TRUE(registerWith(RegistrationBody()).accepted());
    const QString before = databaseSnapshot();
    const struct
    {
        const char *what;
        QByteArray body;
    } cases[] = {
        {"taken id", RegistrationBody()},
        {"taken id in other case",
         RegistrationBody({{QStringLiteral("logid"), QStringLiteral("NewUser")}})},
        {"id too short", RegistrationBody({{QStringLiteral("logid"), QStringLiteral("ab")}})},
        {"id too long",
         RegistrationBody({{QStringLiteral("logid"), QStringLiteral("abcdefghijklm")}})},
        {"id with blank", RegistrationBody({{QStringLiteral("logid"), QStringLiteral("ab cd")}})},
        {"id with quote", RegistrationBody({{QStringLiteral("logid"), QStringLiteral("x';DROP")}})},
        {"Chinese id", RegistrationBody({{QStringLiteral("logid"), QStringLiteral("用户名")}})},
        {"missing email", RegistrationBody({}, QStringLiteral("email"))},
        {"missing logid", RegistrationBody({}, QStringLiteral("logid"))},
        {"empty name", RegistrationBody({{QStringLiteral("name"), QString()}})},
        {"short password", RegistrationBody({{QStringLiteral("password"), QStringLiteral("ab")}})},
        {"bad sex", RegistrationBody({{QStringLiteral("sex"), QStringLiteral("2")}})},
        {"bad email", RegistrationBody({{QStringLiteral("email"), QStringLiteral("nobody")}})},
        {"letters in postal code",
         RegistrationBody({{QStringLiteral("postalCode"), QStringLiteral("10a")}})},
        {"overlong name",
         RegistrationBody({{QStringLiteral("name"), QString(60, QLatin1Char('x'))}})},
        {"duplicate key", RegistrationBody() + "&logid=other\r\n"},
        {"empty body", QByteArray()},
        {"not CP936", QByteArray("logid=newuser2\r\n&name=\x81\r\n")},
    };
    for (const auto &testCase : cases) {
        const Answer answer = registerWith(testCase.body);
        ASSERT_TRUE(answer.readable()) << testCase.what;
        EXPECT_EQ(answer.reply.status, 200) << testCase.what;
        EXPECT_EQ(answer.attribute("Result"), QStringLiteral("0")) << testCase.what;
        EXPECT_FALSE(answer.attribute("Reason").isEmpty()) << testCase.what;
    }
    EXPECT_EQ(databaseSnapshot(), before);
}

} // namespace
