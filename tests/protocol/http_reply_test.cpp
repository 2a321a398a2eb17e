// How replies are read: header and body as received, redirects, and replies that must end the
// transaction cleanly however bad they are.
#include "core/clientserviceinfo.h"
#include "protocol/httprequests.h"
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

using Mode = ScriptedServer::Mode;

QByteArray requestLine(const QByteArray &request)
{
    return request.left(request.indexOf("\r\n"));
}

TEST(HttpReply, ReplyWithoutStatusLineCountsAsSuccess)
{
    ScriptedServer server;
    server.addReply("<answer/>\n\nrest of it");
    TNMHTTP http;
    EXPECT_NO_THROW(http.Get(server.url(QStringLiteral("/"))));
    EXPECT_EQ(http.Header, "<answer/>\n\n");
    EXPECT_EQ(http.Body, "rest of it");
}

TEST(HttpReply, ReplySentOneByteAtATimeIsCapturedWhole)
{
    const QByteArray header = "HTTP/1.0 200 OK\r\nSet-Cookie: a=1\r\n\r\n";
    const QByteArray body = "<r Result=\"1\" Reason=\"\xD6\xD0\"/>\r\n<tail/>";
    ScriptedServer server;
    server.addReply(header + body, Mode::OneByteAtATime);
    TNMHTTP http;
    http.TimeOut = 5000;
    http.Get(server.url(QStringLiteral("/")));
    EXPECT_EQ(http.Header, header);
    EXPECT_EQ(http.Body, body);
}

TEST(HttpReply, TimeOutBoundsInactivityNotTheWholeReply)
{
    // About 1.5 s of trickling against a 500 ms bound: only a timer restarted by every byte
    // lets it through.
    const QByteArray reply = "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(1500, 'b');
    ScriptedServer server;
    server.addReply(reply, Mode::OneByteAtATime);
    TNMHTTP http;
    http.TimeOut = 500;
    http.Get(server.url(QStringLiteral("/")));
    EXPECT_EQ(http.Body, QByteArray(1500, 'b'));
}

TEST(HttpReply, ContentLengthDoesNotDecideWhereTheBodyEnds)
{
    for (const QByteArray length : {"3", "999999999999", "-5", "abc"}) {
        ScriptedServer server;
        server.addReply("HTTP/1.0 200 OK\r\nContent-Length: " + length + "\r\n\r\n0123456789");
        EXPECT_EQ(HttpGet(TClientServiceInfo(), 5000, server.url(QStringLiteral("/"))),
                  "0123456789")
            << length.constData();
    }
}

TEST(HttpReply, ErrorStatusIsNoFailureAndItsPageIsTheAnswer)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 404 Not Found\r\n\r\n<html>missing</html>");
    EXPECT_EQ(HttpGet(TClientServiceInfo(), 5000, server.url(QStringLiteral("/x"))),
              "<html>missing</html>");
}

TEST(HttpReply, LineOfExactlyTheBufferSizeIsAcceptedOneByteMoreIsNot)
{
    const auto replyWithLine = [](qsizetype lineBytes) {
        const QByteArray name = "X-Long: ";
        return "HTTP/1.0 200 OK\r\n" + name + QByteArray(lineBytes - name.size() - 2, 'v') +
               "\r\n\r\nbody";
    };
    ScriptedServer fits;
    fits.addReply(replyWithLine(64 * 1024));
    EXPECT_EQ(HttpGet(TClientServiceInfo(), 5000, fits.url(QStringLiteral("/"))), "body");
    ScriptedServer tooLong;
    tooLong.addReply(replyWithLine(64 * 1024 + 1));
    EXPECT_EQ(HttpGet(TClientServiceInfo(), 5000, tooLong.url(QStringLiteral("/"))), QByteArray());
}

TEST(HttpReply, FailedBodyReadKeepsTheHeaderReceived)
{
    // What the web-server detection relies on: it ignores the failure and reads Header.
    ScriptedServer server;
    server.addReply("HTTP/1.0 200 OK\r\nServer: Slow/2.0\r\n\r\npartial", Mode::ReplyAndKeepOpen);
    TNMHTTP http;
    http.TimeOut = 300;
    EXPECT_THROW(http.Head(server.url(QStringLiteral("/"))), THttpError);
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nServer: Slow/2.0\r\n\r\n");
    EXPECT_EQ(http.Body, "partial");
}

TEST(HttpRedirect, FollowsLocationAndHandsTheCookieOn)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 302 Found\r\nSet-Cookie: ASPSESSION=xyz; path=/\r\nLocation: " +
                    server.url(QStringLiteral("/next?a=1")).toLatin1() + "\r\n\r\n");
    server.addReply("HTTP/1.0 200 OK\r\n\r\narrived");
    TNMHTTP http;
    http.Get(server.url(QStringLiteral("/start")));
    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(requestLine(server.requests().at(1)), "GET /next?a=1 HTTP/1.0");
    EXPECT_TRUE(server.requests().at(1).contains("\r\nCookie: ASPSESSION=xyz; path=/\r\n"));
    EXPECT_EQ(http.Body, "arrived");
}

TEST(HttpRedirect, FoundWithoutLocationAsksForTheRootOfTheSameServer)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 302 Found\r\n\r\n");
    server.addReply("HTTP/1.0 200 OK\r\n\r\nroot");
    TNMHTTP http;
    http.Get(server.url(QStringLiteral("/deep/page")));
    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(server.requests().at(1).startsWith("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n"));
    EXPECT_EQ(http.Body, "root");
}

TEST(HttpRedirect, OtherRedirectCodesEndWithTheReplyAsReceived)
{
    for (const QByteArray code : {"299", "303", "304", "399"}) {
        ScriptedServer server;
        server.addReply("HTTP/1.0 " + code + " Whatever\r\nLocation: /elsewhere\r\n\r\npage");
        TNMHTTP http;
        http.Get(server.url(QStringLiteral("/")));
        EXPECT_EQ(server.connectionCount(), 1) << code.constData();
        EXPECT_EQ(http.Body, "page");
    }
}

TEST(HttpRedirect, LocationCannotInjectAHeaderLine)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 301 Moved\r\nLocation: /next\rX-Injected: 1\r\n\r\n");
    server.addReply("HTTP/1.0 200 OK\r\n\r\n");
    TNMHTTP http;
    http.Get(server.url(QStringLiteral("/")));
    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(requestLine(server.requests().at(1)), "GET /next%0DX-Injected:%201 HTTP/1.0");
    EXPECT_FALSE(server.requests().at(1).contains("\nX-Injected"));
}

TEST(HttpRedirect, RedirectToItselfEndsAfterTenPasses)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\n");
    EXPECT_EQ(HttpGet(TClientServiceInfo(), 5000, server.url(QStringLiteral("/loop"))),
              QByteArray());
    EXPECT_EQ(server.connectionCount(), 10);
}

struct BadReply
{
    const char *name;
    QByteArray bytes;
    Mode mode;
    const char *failure; // empty: the reply ends normally, with an empty body
};

class HttpBadReply : public testing::TestWithParam<BadReply>
{};

// Each ends for the right reason, within a generous bound, and HttpGet answers it with nothing.
TEST_P(HttpBadReply, EndsCleanlyWithTheEmptyAnswer)
{
    ScriptedServer server;
    server.addReply(GetParam().bytes, GetParam().mode);
    QElapsedTimer clock;
    clock.start();
    QString failure;
    TNMHTTP http;
    http.TimeOut = 300;
    try {
        http.Get(server.url(QStringLiteral("/")));
    } catch (const THttpError &error) {
        failure = error.text();
    }
    EXPECT_EQ(failure, QLatin1String(GetParam().failure));
    EXPECT_EQ(HttpGet(TClientServiceInfo(), 300, server.url(QStringLiteral("/"))), QByteArray());
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(server.connectionCount(), 2);
}

QByteArray manyHeaderLines(int count)
{
    QByteArray reply = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < count; ++i)
        reply += "X-Header-" + QByteArray::number(i) + ": some ordinary value\r\n";
    return reply + "\r\n<a Result=\"1\"/>";
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HttpBadReply,
    testing::Values(
        BadReply{"ClosedBeforeAnyByte", {}, Mode::CloseAtOnce, ""},
        BadReply{"HeaderWithoutBlankLine", "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n",
                 Mode::ReplyAndClose, ""},
        BadReply{"HugeHeaderLine",
                 "HTTP/1.0 200 OK\r\nX-Big: " + QByteArray(100 * 1024, 'v') + "\r\n\r\n<a/>",
                 Mode::ReplyAndClose, "Reply line too long"},
        BadReply{"FiveThousandHeaderLines", manyHeaderLines(5000), Mode::ReplyAndClose,
                 "Reply header too long"},
        BadReply{"NeverAnswers", {}, Mode::NeverAnswer, "Socket readln aborted"},
        BadReply{"StaysOpenSilently", "HTTP/1.0 200 OK\r\n\r\n", Mode::ReplyAndKeepOpen,
                 "Socket capture aborted"},
        BadReply{"BodyNeverEnds", "HTTP/1.0 200 OK\r\n\r\n", Mode::EndlessBody,
                 "Reply body too long"}),
    [](const testing::TestParamInfo<BadReply> &info) { return std::string(info.param.name); });

} // namespace
