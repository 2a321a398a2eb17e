// The service's own HTTP layer: requests read whole whatever the pace of the peer, and heads
// checked before any handler sees them.
#include "service/requesthead.h"
#include "servicefixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// A connection that has sent part of a request and waits.
class OpenConnection
{
public:
    explicit OpenConnection(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        const timeval timeout{10, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~OpenConnection() { ::close(m_fd); }
    OpenConnection(const OpenConnection &) = delete;
    OpenConnection &operator=(const OpenConnection &) = delete;

    bool send(const QByteArray &bytes)
    {
        return m_connected &&
               ::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    QByteArray readAll()
    {
        QByteArray received;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::recv(m_fd, buffer, sizeof buffer, 0)) > 0)
            received.append(buffer, got);
        return received;
    }

private:
    int m_fd;
    bool m_connected = false;
};

using SlowClients = ServiceFixture;

TEST_F(SlowClients, TwoHundredHalfSentRequestsDoNotHoldUpAnyoneElse)
{
    const qint32 verfy = loginOk();
    const QByteArray start = "GET /kbz/clientTools/userpromptonline.asp?logid=alice";
    std::vector<std::unique_ptr<OpenConnection>> slow;
    for (int i = 0; i < 200; ++i) {
        slow.push_back(std::make_unique<OpenConnection>(port));
        ASSERT_TRUE(slow.back()->send(start.left(1 + i % start.size())));
    }
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(keepAlive(verfy).accepted()) << i;
    EXPECT_TRUE(login({{"logid", u"alice"_qs}}).accepted());

    // A request that arrives in pieces is answered once it is whole.
    ASSERT_TRUE(slow[start.size() - 1]->send("&VerfyNumber=" + QByteArray::number(verfy) +
                                             " HTTP/1.0\r\n"));
    ASSERT_TRUE(slow[start.size() - 1]->send("Host: 127.0.0.1\r\n\r\n"));
    const QByteArray reply = slow[start.size() - 1]->readAll();
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 200 ")) << reply.constData();
    EXPECT_TRUE(reply.contains("Result=\"0\"")) << "the login above replaced the session";
}

TEST(RequestHeads, AreReadWholeOrRefusedWithTheirStatus)
{
    const RequestLimits limits{64, 10};
    const struct
    {
        const char *received;
        HeadStatus status;
    } cases[] = {
        {"GET /a?b=%41 HTTP/1.0\r\nHost: x\r\n\r\n", HeadStatus::Complete},
        {"GET /a HTTP/1.1\n\n", HeadStatus::Complete},
        {"POST /r HTTP/1.0\r\nContent-Length: 10\r\n\r\n", HeadStatus::Complete},
        {"GET /a HTTP/1.0\r\nHost: x\r\n", HeadStatus::Incomplete},
        {"GET /a HTTP/1.0\r\nX: 12345678901234567890123456789012345678901234567890\r\n\r\n",
         HeadStatus::HeadTooLarge},
        {"GET /aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
         HeadStatus::HeadTooLarge},
        {"POST /r HTTP/1.0\r\nContent-Length: 11\r\n\r\n", HeadStatus::BodyTooLarge},
        {"POST /r HTTP/1.0\r\nContent-Length: 99999999999999999999999\r\n\r\n",
         HeadStatus::BodyTooLarge},
        {"POST /r HTTP/1.0\r\nContent-Length: +5\r\n\r\n", HeadStatus::Malformed},
        {"POST /r HTTP/1.0\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n",
         HeadStatus::Malformed},
        {"POST /r HTTP/1.0\r\nTransfer-Encoding: chunked\r\n\r\n", HeadStatus::Unsupported},
        {"garbage\r\n\r\n", HeadStatus::Malformed},
        {"GET a HTTP/1.0\r\n\r\n", HeadStatus::Malformed},
        {"GET /a b HTTP/1.0\r\n\r\n", HeadStatus::Malformed},
        {"get /a HTTP/1.0\r\n\r\n", HeadStatus::Malformed},
        {"GET /a HTTP/2.0\r\n\r\n", HeadStatus::Malformed},
        {"GET /a HTTP/1.0\r\n folded\r\n\r\n", HeadStatus::Malformed},
        {"GET /a HTTP/1.0\r\nHost: \x01\r\n\r\n", HeadStatus::Malformed},
    };
    for (const auto &[received, status] : cases) {
        RequestHead head;
        EXPECT_EQ(ParseRequestHead(received, limits, head), status) << received;
    }
    RequestHead head;
    ASSERT_EQ(
        ParseRequestHead("POST /r?%7E=1 HTTP/1.0\r\ncontent-length: 3\r\n\r\nabc", limits, head),
        HeadStatus::Complete);
    EXPECT_EQ(head.target, "/r?%7E=1");
    EXPECT_EQ(head.contentLength, 3u);
    EXPECT_EQ(head.headBytes, 45u);
    EXPECT_EQ(DecodedPath("/~%41lice%2/x?q=%41"), "/~Alice%2/x");
}

} // namespace
