#include "servicefixture.h"

namespace {

class BadInput : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        addUser(QStringLiteral("alice"), QStringLiteral("secret"));
        verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    }

    QByteArray keepAliveTarget(const QByteArray &query)
    {
        return "/kbz/clientTools/userpromptonline.asp?" + query;
    }

    qint32 verfy = 0;
};

LoginItems With(void (*change)(LoginItems &))
{
    LoginItems items;
    change(items);
    return items;
}

TEST_F(BadInput, EveryBadRequestIsRefusedWithAReasonAndChangesNothing)
{
    const QByteArray v = QByteArray::number(verfy);
    const QByteArray login = "/kbz/clientTools/userlogin.asp?";
    const struct
    {
        const char *what;
        QByteArray target;
    } cases[] = {
        {"login without query", login},
        {"login without password", "/kbz/clientTools/userlogin.asp?logid=alice"},
        {"login cut before ClientVersion",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret")).chopped(20)},
        {"wrong password", LoginTarget(QStringLiteral("alice"), QStringLiteral("nope"))},
        {"SQL in the id", LoginTarget(QStringLiteral("a' OR '1'='1"), QStringLiteral("x"))},
        {"SQL in the password",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("' OR 1=1 --"))},
        {"id too long", LoginTarget(QString(200, QLatin1Char('a')), QStringLiteral("secret"))},
        {"port not a number",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webPort = QStringLiteral("80a"); }))},
        {"port out of range",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webPort = QStringLiteral("70000"); }))},
        {"flag not 0 or 1",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webIsOpen = QStringLiteral("yes"); }))},
        {"overlong title",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webTitle = QString(51, QLatin1Char('t')); }))},
        {"overlong Chinese introduction",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webIntro = QString(26, QChar(0x4E2D)); }))},
        {"control byte in title",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.webTitle = QStringLiteral("a\tb"); }))},
        {"version not a number",
         LoginTarget(QStringLiteral("alice"), QStringLiteral("secret"),
                     With([](LoginItems &i) { i.clientVersion = QStringLiteral("new"); }))},
        {"bytes that are no CP936", login + "logid=alice&password=\x81&WebIsOpen=1"},
        {"keep-alive without number", keepAliveTarget("logid=alice")},
        {"keep-alive without id", keepAliveTarget("VerfyNumber=" + v)},
        {"keep-alive number not numeric", keepAliveTarget("logid=alice&VerfyNumber=12ab")},
        {"keep-alive number with blank", keepAliveTarget("logid=alice&VerfyNumber=%20" + v)},
        {"keep-alive number too big", keepAliveTarget("logid=alice&VerfyNumber=99999999999")},
        {"keep-alive stale number",
         keepAliveTarget("logid=alice&VerfyNumber=" + QByteArray::number(verfy ^ 1))},
        {"keep-alive SQL id", keepAliveTarget("logid=alice'--&VerfyNumber=" + v)},
        {"keep-alive other user's number", keepAliveTarget("logid=bob&VerfyNumber=" + v)},
        {"keep-alive with the logoff's key", keepAliveTarget("logid=alice&verfynumber=" + v)},
        {"logoff stale number", "/kbz/clientTools/userlogoff.asp?logid=alice&verfynumber=1"},
        {"logoff without number", "/kbz/clientTools/userlogoff.asp?logid=alice"},
        {"logoff overlong number",
         "/kbz/clientTools/userlogoff.asp?logid=alice&verfynumber=" + QByteArray(300, '1')},
    };
    const QString before = databaseSnapshot();
    for (const auto &testCase : cases) {
        const Answer answer = get(testCase.target);
        ASSERT_TRUE(answer.readable()) << testCase.what << ": " << answer.reply.body.constData();
        EXPECT_EQ(answer.reply.status, 200) << testCase.what;
        EXPECT_EQ(answer.attribute("Result"), QStringLiteral("0")) << testCase.what;
        EXPECT_FALSE(answer.attribute("Reason").isEmpty()) << testCase.what;
    }
    EXPECT_EQ(databaseSnapshot(), before);
    // The session the bad requests tried to disturb is still the one that counts.
    EXPECT_TRUE(keepAlive(QStringLiteral("alice"), verfy).accepted());
}

TEST_F(BadInput, ReasonsSayWhatIsWrong)
{
    EXPECT_EQ(get("/kbz/clientTools/userlogoff.asp?logid=alice").attribute("Reason"),
              QStringLiteral("请求缺少参数verfynumber"));
    EXPECT_EQ(get(keepAliveTarget("logid=alice&VerfyNumber=x")).attribute("Reason"),
              QStringLiteral("参数VerfyNumber不是有效的数字"));
    EXPECT_EQ(get(LoginTarget(QStringLiteral("a;b"), QStringLiteral("x"))).attribute("Reason"),
              QStringLiteral("用户名必须是3-12位英文字母、数字、-或_"));
}

TEST_F(BadInput, MalformedHttpNeverStopsTheService)
{
    for (const QByteArray &request :
         {QByteArray("garbage\r\n\r\n"), QByteArray("GET\r\n\r\n"),
          QByteArray("GET /kbz/clientTools/userlogin.asp?" + QByteArray(20000, 'a') +
                     " HTTP/1.0\r\n\r\n"),
          "POST /user/UserRegisterDo.asp HTTP/1.0\r\nContent-Length: 70000\r\n\r\n" +
              QByteArray(70000, 'x'),
          QByteArray("GET /~alice HTTP/1.0\r\nHost: \x01\xff\r\n\r\n")}) {
        const RawReply reply = SendRaw(port, request);
        EXPECT_LT(reply.status, 500) << request.left(40).constData();
    }
    EXPECT_TRUE(keepAlive(QStringLiteral("alice"), verfy).accepted());
}

} // namespace
