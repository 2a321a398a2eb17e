#include "core/cp936.h"
#include "servicefixture.h"

using namespace Qt::StringLiterals;

namespace {

using BadInput = ServiceFixture;

TEST_F(BadInput, EveryBadRequestIsRefusedWithAReasonAndChangesNothing)
{
    const qint32 verfy = loginOk();
    const QByteArray v = QByteArray::number(verfy);
    const QByteArray prompt = "/kbz/clientTools/userpromptonline.asp?logid=alice&VerfyNumber=";
    const QByteArray logoff = "/kbz/clientTools/userlogoff.asp?logid=alice";
    const QString before = databaseSnapshot();
    for (const QByteArray &target : {
             QByteArray("/kbz/clientTools/userlogin.asp?"),
             LoginTarget().chopped(20),
             LoginTarget({{"logid", u"a'%20OR%20'1'='1"_s}}),
             LoginTarget({{"logid", QString(200, u'a')}}),
             LoginTarget({{"WebPort", u"80a"_s}}),
             LoginTarget({{"WebPort", u"70000"_s}}),
             LoginTarget({{"WebIsOpen", u"yes"_s}}),
             LoginTarget({{"WebTitle", QString(51, u't')}}),
             LoginTarget({{"WebIntro", QString(26, u'中')}}),
             LoginTarget({{"WebTitle", u"a%09b"_s}}),
             LoginTarget({{"ClientVersion", u"new"_s}}),
             QByteArray("/kbz/clientTools/userlogin.asp?logid=alice&password=\x81&WebIsOpen=1"),
             QByteArray("/kbz/clientTools/userpromptonline.asp?logid=alice"),
             "/kbz/clientTools/userpromptonline.asp?VerfyNumber=" + v,
             prompt + "12ab",
             prompt + "%20" + v,
             prompt + "+" + v,
             prompt + "99999999999",
             prompt + QByteArray::number(verfy ^ 1),
             "/kbz/clientTools/userpromptonline.asp?logid=alice'--&VerfyNumber=" + v,
             // The logoff's spelling of the key is not the keep-alive's.
             "/kbz/clientTools/userpromptonline.asp?logid=alice&verfynumber=" + v,
             logoff + "&verfynumber=1",
             logoff,
         }) {
        const Answer answer = get(target);
        EXPECT_TRUE(answer.refused())
            << target.constData() << ": " << answer.reply.body.constData();
    }
    EXPECT_EQ(get(logoff).attribute("Reason"), u"请求缺少参数verfynumber"_s);
    EXPECT_EQ(get(prompt + "12ab").attribute("Reason"), u"参数VerfyNumber不是有效的数字"_s);
    EXPECT_EQ(login({{"WebIntro", QString(26, u'中')}}).attribute("Reason"), u"参数WebIntro过长"_s);
    EXPECT_EQ(login({{"logid", u"a;b"_s}}).attribute("Reason"),
              u"用户名必须是3-12位英文字母、数字、-或_"_s);
    // Half a double-byte character at the end of a value, escaped or raw, is refused, not cut.
    EXPECT_EQ(login({{"WebTitle", u"ab%81"_s}}).attribute("Reason"),
              u"参数WebTitle末尾的汉字不完整"_s);
    EXPECT_EQ(get(LoginTarget({{"WebKeyword", u"kw"_s}}).replace("kw", "\xD6\xD0\x81"))
                  .attribute("Reason"),
              u"参数WebKeyword末尾的汉字不完整"_s);

    for (const QByteArray &request :
         {QByteArray("garbage\r\n\r\n"), QByteArray("GET\r\n\r\n"),
          "GET /kbz/clientTools/userlogin.asp?" + QByteArray(20000, 'a') + " HTTP/1.0\r\n\r\n",
          "POST /user/UserRegisterDo.asp HTTP/1.0\r\nContent-Length: 70000\r\n\r\n" +
              QByteArray(70000, 'x'),
          QByteArray("GET /~alice HTTP/1.0\r\nHost: \x01\xff\r\n\r\n")}) {
        EXPECT_LT(SendRaw(port, request).status, 500) << request.left(40).constData();
    }
    EXPECT_EQ(databaseSnapshot(), before);
    // The session the bad requests tried to disturb is still the one that counts.
    EXPECT_TRUE(keepAlive(verfy).accepted());
}

// The body exactly as the client writes its request file: twelve lines, CR LF each.
QByteArray RegistrationBody(const Fields &changes = {})
{
    return cp936::encode(
        WithChanges(u"logid=New-user_123\r\n&password=pass1\r\n&name=张三\r\n&sex=0\r\n"
                    "&Birthday=1977-6-2\r\n&Location=中国大陆\r\n&address=北京+1号%2520\r\n"
                    "&postalCode=100000\r\n&telephone=010-1234\r\n&icno=\r\n"
                    "&email=zhang.san@example.cn\r\n&IsFromClient=1\r\n"_s,
                    u"\r\n&"_s, changes));
}

Answer Register(int port, const QByteArray &body)
{
    return {PostRaw(port, "/user/UserRegisterDo.asp", body)};
}

using Registration = ServiceFixture;

TEST_F(Registration, CreatesAnAccountOrRefusesAndChangesNothing)
{
    // Form-encoded like the login's query, and read the same way; a bare "&" or "=" of an older
    // sender still stays within its line.
    const Answer answer =
        Register(port, RegistrationBody({{"name", u"A&B=C"_s}, {"password", u"p%26w%3D1+%2B"_s}}));
    ASSERT_TRUE(answer.accepted()) << answer.reply.body.constData();
    EXPECT_TRUE(answer.reply.body.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(login({{"logid", u"new-USER_123"_s}, {"password", u"p%26w%3D1+%2B"_s}}).accepted());
    EXPECT_TRUE(databaseSnapshot().contains(u"|A&B=C|0|1977-6-2|中国大陆|北京 1号%20|"_s));

    const QByteArray body = RegistrationBody();
    const QString before = databaseSnapshot();
    for (const QByteArray &refused : {
             body,
             RegistrationBody({{"logid", u"NEW-user_123"_s}}),
             RegistrationBody({{"logid", u"ab"_s}}),
             RegistrationBody({{"logid", u"abcdefghijklm"_s}}),
             RegistrationBody({{"logid", u"x';DROP"_s}}),
             QByteArray(body).replace("&email=zhang.san@example.cn\r\n", ""),
             RegistrationBody({{"name", QString()}}),
             RegistrationBody({{"password", u"ab"_s}}),
             RegistrationBody({{"sex", u"2"_s}}),
             RegistrationBody({{"email", u"nobody"_s}}),
             RegistrationBody({{"postalCode", u"10a"_s}}),
             RegistrationBody({{"name", QString(60, u'x')}}),
             body + "&logid=other\r\n",
             QByteArray(),
             QByteArray("garbage\r\n"),
             QByteArray("logid=newuser2\r\n&name=\x81\r\n"),
             RegistrationBody({{"address", u"北京"_s}}).replace("\xBE\xA9", "\xBE"),
         }) {
        EXPECT_TRUE(Register(port, refused).refused()) << refused.constData();
    }
    EXPECT_EQ(databaseSnapshot(), before);
}

} // namespace
