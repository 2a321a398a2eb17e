#include "core/cp936.h"
#include "servicefixture.h"

namespace {

class SessionRequests : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    }
};

TEST_F(SessionRequests, AcceptedLoginCarriesEverySessionValueInCp936)
{
    const Answer answer = login(QStringLiteral("alice"), QStringLiteral("secret"));
    ASSERT_TRUE(answer.readable());
    EXPECT_TRUE(answer.reply.body.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(answer.reply.closed);
    EXPECT_EQ(answer.reply.status, 200);
    EXPECT_EQ(answer.attribute("Result"), QStringLiteral("1"));
    EXPECT_EQ(answer.attribute("Level"), QStringLiteral("1"));
    bool isNumber = false;
    EXPECT_GT(answer.attribute("VerfyNumber").toInt(&isNumber), 0);
    EXPECT_TRUE(isNumber);
    EXPECT_EQ(answer.attribute("ClientPromptOnlineSeconds"), QStringLiteral("60"));
    // The client's Host line has no port, so the service adds the one it listens on.
    EXPECT_EQ(answer.attribute("UserDomain"),
              QStringLiteral("http://127.0.0.1:%1/~alice").arg(port));
    EXPECT_FALSE(answer.attribute("WebAreasVersion").isEmpty());
    EXPECT_FALSE(answer.attribute("WebServerTypeVersion").isEmpty());
    EXPECT_EQ(answer.attribute("NewestClientVersion"), QStringLiteral("0.994"));
}

TEST_F(SessionRequests, WrongPasswordOrUnknownIdIsRefusedInChinese)
{
    for (const auto &[logid, password] :
         {std::pair{QStringLiteral("alice"), QStringLiteral("wrong")},
          std::pair{QStringLiteral("nobody"), QStringLiteral("secret")},
          std::pair{QStringLiteral("alice"), QStringLiteral("secre")}}) {
        const Answer answer = login(logid, password);
        ASSERT_TRUE(answer.readable()) << logid.toStdString();
        EXPECT_EQ(answer.attribute("Result"), QStringLiteral("0"));
        EXPECT_EQ(answer.attribute("Reason"), QStringLiteral("用户名或密码错误"));
        // The Chinese reason reaches the client as CP936 bytes under the gb2312 declaration.
        EXPECT_TRUE(answer.reply.body.contains(cp936::encode(QStringLiteral("用户名或密码错误"))));
    }
}

TEST_F(SessionRequests, IdsIgnoreLetterCase)
{
    const Answer answer = login(QStringLiteral("ALICE"), QStringLiteral("secret"));
    EXPECT_TRUE(answer.accepted());
    EXPECT_TRUE(answer.attribute("UserDomain").endsWith(QStringLiteral("/~alice")));
}

TEST_F(SessionRequests, PasswordWithAmpersandEqualsAndBlankArrivesWhole)
{
    addUser(QStringLiteral("bob"), QStringLiteral("a&b= c"));
    EXPECT_TRUE(login(QStringLiteral("bob"), QStringLiteral("a&b= c")).accepted());
    EXPECT_FALSE(login(QStringLiteral("bob"), QStringLiteral("a&b=+c")).accepted());
}

TEST_F(SessionRequests, KeepAliveDeliversQueuedMessagesExactlyOnce)
{
    const qint32 verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    queueMessage(QStringLiteral("alice"), QStringLiteral("你好，世界 & <b>"));
    queueMessage(QStringLiteral("ALICE"), QStringLiteral("second"));

    const Answer first = keepAlive(QStringLiteral("alice"), verfy);
    ASSERT_TRUE(first.accepted()) << first.reply.body.constData();
    EXPECT_EQ(first.attribute("ClientPromptOnlineSeconds"), QStringLiteral("60"));
    EXPECT_FALSE(first.attribute("WebAreasVersion").isEmpty());
    EXPECT_FALSE(first.attribute("WebServerTypeVersion").isEmpty());
    const XmlElement list = first.messageList();
    ASSERT_EQ(list.childCount(), 2);
    const XmlElement message = list.child(0);
    EXPECT_EQ(message.attribute(QStringLiteral("Logid")), QStringLiteral("alice"));
    EXPECT_EQ(message.attribute(QStringLiteral("FromLogid")), QStringLiteral("admin"));
    EXPECT_EQ(message.attribute(QStringLiteral("FromIP")), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(message.attribute(QStringLiteral("PostDateTime")),
              QStringLiteral("2024-05-01 12:00:00"));
    EXPECT_EQ(message.attribute(QStringLiteral("Comment")), QStringLiteral("你好，世界 & <b>"));
    EXPECT_TRUE(first.reply.body.contains(cp936::encode(QStringLiteral("你好，世界"))));
    EXPECT_EQ(list.child(1).attribute(QStringLiteral("Comment")), QStringLiteral("second"));

    const Answer second = keepAlive(QStringLiteral("alice"), verfy);
    ASSERT_TRUE(second.accepted());
    // The list is there even when empty: the client takes the second child unconditionally.
    ASSERT_FALSE(second.messageList().isNull());
    EXPECT_EQ(second.messageList().childCount(), 0);
}

TEST_F(SessionRequests, NewLoginMakesTheOldNumberStale)
{
    const qint32 old = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    const qint32 current = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    ASSERT_NE(old, current);
    queueMessage(QStringLiteral("alice"), QStringLiteral("kept"));

    const Answer stale = keepAlive(QStringLiteral("alice"), old);
    ASSERT_TRUE(stale.readable());
    EXPECT_EQ(stale.attribute("Result"), QStringLiteral("0"));
    EXPECT_FALSE(stale.attribute("Reason").isEmpty());
    // The client reads these before Result even on a refusal.
    EXPECT_EQ(stale.attribute("ClientPromptOnlineSeconds"), QStringLiteral("60"));
    EXPECT_FALSE(stale.attribute("WebAreasVersion").isEmpty());

    // The refused keep-alive took nothing: the message waits for the current session.
    const Answer fresh = keepAlive(QStringLiteral("alice"), current);
    ASSERT_TRUE(fresh.accepted());
    EXPECT_EQ(fresh.messageList().childCount(), 1);
}

TEST_F(SessionRequests, LogoffEndsTheSessionOnce)
{
    const qint32 verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    EXPECT_FALSE(logoff(QStringLiteral("alice"), verfy + 1).accepted());
    EXPECT_TRUE(logoff(QStringLiteral("alice"), verfy).accepted());
    EXPECT_FALSE(keepAlive(QStringLiteral("alice"), verfy).accepted());
    const Answer again = logoff(QStringLiteral("alice"), verfy);
    EXPECT_EQ(again.attribute("Result"), QStringLiteral("0"));
    EXPECT_FALSE(again.attribute("Reason").isEmpty());
}

TEST_F(SessionRequests, RestartKeepsAccountsSessionsAndUndeliveredMessages)
{
    const qint32 verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"));
    ASSERT_TRUE(keepAlive(QStringLiteral("alice"), verfy).accepted());
    queueMessage(QStringLiteral("alice"), QStringLiteral("after restart"));
    now->fetch_add(30);
    ASSERT_TRUE(keepAlive(QStringLiteral("alice"), verfy).accepted()); // delivers it
    queueMessage(QStringLiteral("alice"), QStringLiteral("waiting"));

    restartService();

    // The session survives, with the last keep-alive time written on the way down.
    const Answer resumed = keepAlive(QStringLiteral("alice"), verfy);
    ASSERT_TRUE(resumed.accepted());
    ASSERT_EQ(resumed.messageList().childCount(), 1);
    EXPECT_EQ(resumed.messageList().child(0).attribute(QStringLiteral("Comment")),
              QStringLiteral("waiting"));
    EXPECT_TRUE(login(QStringLiteral("alice"), QStringLiteral("secret")).accepted());
}

TEST_F(SessionRequests, SecondServiceCannotTakeTheSamePort)
{
    ServiceOptions options;
    options.port = port;
    options.databasePath = dir.filePath(QStringLiteral("other.db"));
    MarbelloService second(options);
    EXPECT_THROW(second.start(), std::runtime_error);
    EXPECT_TRUE(login(QStringLiteral("alice"), QStringLiteral("secret")).accepted());
}

} // namespace
