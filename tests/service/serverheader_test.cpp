#include "servicefixture.h"

namespace {

using ServerHeader = ServiceFixture;

// The client's web-server detection sends HEAD to the forwarding address and looks for the
// service's name among the reply's header lines.
TEST_F(ServerHeader, HeadOnEveryPageNamesTheServiceWithoutABody)
{
    for (const QByteArray path :
         {"/", "/kbz/help", "/download/", "/bbs2", "/~alice", "/no/such/page"}) {
        const RawReply reply =
            SendRaw(port, "HEAD " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
        EXPECT_EQ(reply.header("Server"), "Marbello-Service/0.994") << path.constData();
        EXPECT_GT(reply.status, 0) << path.constData();
        EXPECT_TRUE(reply.body.isEmpty()) << path.constData();
        EXPECT_TRUE(reply.closed) << path.constData();
    }
    const RawReply page = GetRaw(port, "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.header("Server"), "Marbello-Service/0.994");
    EXPECT_FALSE(page.body.isEmpty());
}

} // namespace
