#include "servicefixture.h"

namespace {

class VisitorRedirect : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    }
    RawReply visit() { return GetRaw(port, "/~alice"); }
};

TEST_F(VisitorRedirect, OnlineDynamicSiteIsReachedAtTheClientsAddress)
{
    LoginItems items;
    items.notLoginUrl = QStringLiteral("http://example.org/away");
    const qint32 verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"), items);
    RawReply reply = visit();
    EXPECT_EQ(reply.status, 302);
    EXPECT_EQ(reply.header("Location"), "http://127.0.0.1:8081/");

    ASSERT_TRUE(logoff(QStringLiteral("alice"), verfy).accepted());
    reply = visit();
    EXPECT_EQ(reply.status, 302);
    EXPECT_EQ(reply.header("Location"), "http://example.org/away");
}

TEST_F(VisitorRedirect, StaticSiteGoesToItsForwardingAddress)
{
    LoginItems items;
    items.webIsDynamic = QStringLiteral("0");
    items.webStaticUrl = QStringLiteral("www.example.org/my site");
    loginOk(QStringLiteral("alice"), QStringLiteral("secret"), items);
    const RawReply reply = GetRaw(port, "/~alice/");
    EXPECT_EQ(reply.status, 302);
    // "http://" added; the "+" the client sent for the blank stays a "+" in the address.
    EXPECT_EQ(reply.header("Location"), "http://www.example.org/my+site");
}

TEST_F(VisitorRedirect, SilentUserCountsAsOfflineAfterThreePeriods)
{
    LoginItems items;
    items.notLoginUrl = QStringLiteral("http://example.org/away");
    const qint32 verfy = loginOk(QStringLiteral("alice"), QStringLiteral("secret"), items);
    now->fetch_add(2 * periodSeconds);
    ASSERT_TRUE(keepAlive(QStringLiteral("alice"), verfy).accepted());
    now->fetch_add(3 * periodSeconds);
    EXPECT_EQ(visit().header("Location"), "http://127.0.0.1:8081/");
    now->fetch_add(1);
    EXPECT_EQ(visit().header("Location"), "http://example.org/away");
}

TEST_F(VisitorRedirect, ClosedSiteOrNoFallbackGivesAPage)
{
    LoginItems items;
    items.webIsOpen = QStringLiteral("0");
    loginOk(QStringLiteral("alice"), QStringLiteral("secret"), items);
    const RawReply closed = visit();
    EXPECT_EQ(closed.status, 200);
    EXPECT_TRUE(closed.header("Location").isEmpty());
    EXPECT_TRUE(closed.body.contains("<html"));

    EXPECT_EQ(GetRaw(port, "/~nobody").status, 404);
    EXPECT_EQ(GetRaw(port, "/~a'b").status, 404);
}

TEST_F(VisitorRedirect, ServicePagesAnswer)
{
    for (const QByteArray &path : {QByteArray("/"), QByteArray("/kbz/help"),
                                   QByteArray("/download/"), QByteArray("/bbs2")}) {
        const RawReply reply = GetRaw(port, path);
        EXPECT_EQ(reply.status, 200) << path.constData();
        EXPECT_TRUE(reply.body.contains("<html")) << path.constData();
    }
    EXPECT_EQ(GetRaw(port, "/user/logindo.asp?logid=alice&password=secret").status, 200);
    EXPECT_EQ(GetRaw(port, "/user/logindo.asp?logid=alice&password=wrong").status, 403);
    const RawReply forum =
        GetRaw(port, "/user/logindo.asp?logid=alice&password=secret&comefrom=/bbs2");
    EXPECT_EQ(forum.status, 302);
    EXPECT_EQ(forum.header("Location"), "/bbs2");
    // Only paths on this service: anything else shows the account page instead of leaving.
    EXPECT_EQ(
        GetRaw(port, "/user/logindo.asp?logid=alice&password=secret&comefrom=//evil.org").status,
        200);
}

} // namespace
