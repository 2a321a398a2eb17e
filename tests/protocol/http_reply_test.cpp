// How replies are read: header and body as received, redirects, and replies that must end the
// transaction cleanly however bad they are.
#include "core/clientserviceinfo.h"
#include "protocol/httprequests.h"
#include "protocol/httpsocket.h"
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Mode = ScriptedServer::Mode;

QByteArray replyWithLine(qsizetype lineBytes)
{
    const QByteArray name = "X-Long: ";
    return "HTTP/1.0 200 OK\r\n" + name + QByteArray(lineBytes - name.size() - 2, 'v') +
           "\r\n\r\nbody";
}

TEST(HttpReply, HeaderAndBodyAreKeptAsReceived)
{
    struct Case
    {
        QByteArray header;
        QByteArray sent;
        QByteArray body;
    };
    std::vector<Case> cases = {
        {"<answer/>\n\n", "rest of it", "rest of it"}, // no status line: code 0, still success
        {"HTTP/1.0 404 Not Found\r\n\r\n", "<html>missing</html>", "<html>missing</html>"},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n", "", ""}, // no blank line
        {replyWithLine(64 * 1024).chopped(4), "body", "body"},
        // A body says how long it is, or ends where the server closes.
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n", "0123456789", "012"},
        {"HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\n", "0123456789", "0123456789"},
    };
    for (const QByteArray length : {"-5", "abc", "3x", ""})
        cases.push_back({"HTTP/1.0 200 OK\r\nContent-Length: " + length + "\r\n\r\n", "0123456789",
                         "0123456789"});
    for (const auto &[header, sent, body] : cases) {
        ScriptedServer server;
        server.addReply(header + sent);
        TNMHTTP http;
        EXPECT_NO_THROW(http.Get(server.url(QStringLiteral("/")))) << header.left(60).constData();
        EXPECT_EQ(http.Header, header) << header.left(60).constData();
        EXPECT_EQ(http.Body, body) << header.left(60).constData();
    }
}

TEST(HttpReply, AProxyThatKeepsTheConnectionOpenEndsTheBodyByItsLength)
{
    const QByteArray answer = "<r><s Result=\"1\"/></r>";
    ScriptedServer proxy;
    proxy.addReply("HTTP/1.0 200 OK\r\nProxy-Connection: Keep-Alive\r\nContent-Length: " +
                       QByteArray::number(answer.size()) + "\r\n\r\n" + answer,
                   Mode::ReplyAndKeepOpen);
    TNMHTTP http;
    http.TimeOut = 5000;
    http.Proxy = QStringLiteral("127.0.0.1");
    http.ProxyPort = proxy.port();
    QElapsedTimer clock;
    clock.start();
    http.Get(QStringLiteral("http://service.example/kbz/x.asp"));
    EXPECT_EQ(http.Body, answer);
    EXPECT_LT(clock.elapsed(), 4000);
}

TEST(HttpReply, ATricklingPeerCannotHoldAStepPastItsTimeOut)
{
    // The status line alone takes about two seconds at this pace.
    ScriptedServer server;
    server.addReply("HTTP/1.0 200 OK\r\nX-Padding: " + QByteArray(40, 'p') + "\r\n\r\n<a/>",
                    Mode::OneByteEvery50Ms);
    TNMHTTP http;
    http.TimeOut = 300;
    QElapsedTimer clock;
    clock.start();
    QString failure;
    try {
        http.Get(server.url(QStringLiteral("/")));
    } catch (const THttpError &error) {
        failure = error.text();
    }
    EXPECT_EQ(failure, QStringLiteral("Socket readln aborted"));
    EXPECT_LT(clock.elapsed(), 1500);
}

TEST(HttpReply, AReplyToHeadEndsAtItsHeader)
{
    // Whatever the length says and however long the server keeps the connection: HTTP gives a
    // reply to HEAD no body.
    for (const Mode mode : {Mode::ReplyAndKeepOpen, Mode::ReplyAndClose}) {
        ScriptedServer server;
        const QByteArray header = "HTTP/1.1 200 OK\r\nServer: Apache/2.4.57\r\n"
                                  "Content-Length: 5000000\r\nConnection: keep-alive\r\n\r\n";
        server.addReply(header + "stray", mode);
        TNMHTTP http;
        http.TimeOut = 5000;
        QElapsedTimer clock;
        clock.start();
        EXPECT_NO_THROW(http.Head(server.url(QStringLiteral("/"))));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(http.Header, header);
        EXPECT_EQ(http.Body, QByteArray());
    }
}

TEST(HttpReply, AFailedLaterPassKeepsTheHeaderOfTheLastReply)
{
    // What the web-server detection reads: who answered, though the transaction then failed.
    const QByteArray moved = "HTTP/1.1 301 Moved Permanently\r\nServer: nginx\r\nLocation: ";
    const std::pair<QByteArray, const char *> cases[] = {
        {moved + "https://127.0.0.1/\r\n\r\n", "HTTP Secure Socket is not supported"},
        {moved + "http://127.0.0.1:1/\r\n\r\n", "Connection Failed"},
    };
    for (const auto &[reply, failure] : cases) {
        ScriptedServer server;
        server.addReply(reply);
        TNMHTTP http;
        QString text;
        try {
            http.Head(server.url(QStringLiteral("/")));
        } catch (const THttpError &error) {
            text = error.text();
        }
        EXPECT_EQ(text, QLatin1String(failure));
        EXPECT_EQ(http.Header, reply);
    }
}

TEST(HttpRedirect, OnlyThreeHundredToThreeHundredTwoAreFollowed)
{
    for (const int code : {299, 300, 301, 302, 303, 304, 399}) {
        ScriptedServer server;
        server.addReply("HTTP/1.0 " + QByteArray::number(code) +
                        " X\r\nSet-Cookie: ASPSESSION=xyz; path=/\r\nLocation: " +
                        server.url(QStringLiteral("/next?a=1")).toLatin1() + "\r\n\r\npage");
        server.addReply("HTTP/1.0 200 OK\r\n\r\narrived");
        TNMHTTP http;
        http.Get(server.url(QStringLiteral("/start")));
        const bool follows = code >= 300 && code <= 302;
        ASSERT_EQ(server.connectionCount(), follows ? 2 : 1) << code;
        EXPECT_EQ(http.Body, follows ? "arrived" : "page") << code;
        if (follows) {
            EXPECT_TRUE(server.requests().at(1).startsWith("GET /next?a=1 HTTP/1.0\r\n"));
            EXPECT_TRUE(server.requests().at(1).contains("\r\nCookie: ASPSESSION=xyz; path=/\r\n"));
        }
    }
}

TEST(HttpRedirect, TheCookieGoesOnlyToTheHostThatSetIt)
{
    ScriptedServer other(QHostAddress(QStringLiteral("127.0.0.2")));
    ASSERT_TRUE(other.port() != 0) << "127.0.0.2 cannot be listened on";
    ScriptedServer origin;
    const QByteArray elsewhere = "http://127.0.0.2:" + QByteArray::number(other.port());
    origin.addReply("HTTP/1.0 302 Found\r\nSet-Cookie: SESSION=secret\r\nLocation: " + elsewhere +
                    "/next\r\n\r\n");
    origin.addReply("HTTP/1.0 200 OK\r\n\r\nback");
    // Away and back again: the cookie is withheld from 127.0.0.2 and sent to 127.0.0.1 again.
    other.addReply("HTTP/1.0 302 Found\r\nLocation: " +
                   origin.url(QStringLiteral("/home")).toLatin1() + "\r\n\r\n");
    TNMHTTP http;
    http.Get(origin.url(QStringLiteral("/login")));
    ASSERT_EQ(other.connectionCount(), 1);
    ASSERT_EQ(origin.connectionCount(), 2);
    EXPECT_TRUE(other.requests().at(0).startsWith("GET /next HTTP/1.0\r\n"));
    EXPECT_FALSE(other.requests().at(0).contains("Cookie"));
    EXPECT_TRUE(origin.requests().at(1).contains("\r\nCookie: SESSION=secret\r\n"));
    EXPECT_EQ(http.Body, "back");
}

TEST(HttpRedirect, NextPassTarget)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        // No Location: the root of the same host and port.
        {"HTTP/1.0 302 Found\r\n\r\n", "GET / HTTP/1.0"},
        {"HTTP/1.0 301 Moved\r\nLocation: /next\rX-Injected: 1\r\n\r\n",
         "GET /next%0DX-Injected:%201 HTTP/1.0"},
        // The server escaped its Location already: its escapes are not escaped again.
        {"HTTP/1.0 302 Found\r\nLocation: /a%20b?q=%E4%B8%AD\r\n\r\n",
         "GET /a%20b?q=%E4%B8%AD HTTP/1.0"},
    };
    for (const auto &[reply, next] : cases) {
        ScriptedServer server;
        server.addReply(reply);
        server.addReply("HTTP/1.0 200 OK\r\n\r\n");
        TNMHTTP().Get(server.url(QStringLiteral("/deep/page")));
        ASSERT_EQ(server.connectionCount(), 2);
        EXPECT_TRUE(server.requests().at(1).startsWith(next + "\r\n")) << next.constData();
    }
}

// Each ends for the right reason, and HttpGet answers it with nothing.
TEST(HttpReply, BadRepliesEndCleanlyWithTheEmptyAnswer)
{
    QByteArray manyLines = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < 5000; ++i)
        manyLines += "X-Header-" + QByteArray::number(i) + ": some ordinary value\r\n";
    const struct
    {
        const char *name;
        QByteArray bytes;
        Mode mode;
        const char *failure; // empty: the reply ends normally, with an empty body
        int passes = 1;
    } cases[] = {
        {"closed before any byte", {}, Mode::CloseAtOnce, ""},
        {"line one byte over the buffer", replyWithLine(64 * 1024 + 1), Mode::ReplyAndClose,
         "Reply line too long"},
        {"100 KiB line", replyWithLine(100 * 1024), Mode::ReplyAndClose, "Reply line too long"},
        {"5000 header lines", manyLines + "\r\n<a/>", Mode::ReplyAndClose, "Reply header too long"},
        {"redirect to itself", "HTTP/1.0 302 Found\r\nLocation: /\r\n\r\n", Mode::ReplyAndClose,
         "Too many redirects", 10},
        {"never answers", {}, Mode::ReplyAndKeepOpen, "Socket readln aborted"},
        // Still arriving when the cap is reached: no time-out could end it.
        {"body over 1 MiB", "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(1024 * 1024 + 1, 'x'),
         Mode::ReplyAndKeepOpen, "Reply body too long"},
        {"announced body over 1 MiB", "HTTP/1.0 200 OK\r\nContent-Length: 1048577\r\n\r\n",
         Mode::ReplyAndKeepOpen, "Reply body too long"},
    };
    for (const auto &[name, bytes, mode, failure, passes] : cases) {
        ScriptedServer server;
        server.addReply(bytes, mode);
        QString text;
        TNMHTTP http;
        http.TimeOut = 300;
        try {
            http.Get(server.url(QStringLiteral("/")));
        } catch (const THttpError &error) {
            text = error.text();
        }
        EXPECT_EQ(text, QLatin1String(failure)) << name;
        EXPECT_EQ(HttpGet(TClientServiceInfo(), 300, server.url(QStringLiteral("/"))), QByteArray())
            << name;
        EXPECT_EQ(server.connectionCount(), 2 * passes) << name;
    }
}

} // namespace

TEST(HttpSocketPass, EndsAtItsTimeOutHoweverOftenItsStepsProgress)
{
    // Every chunk comes well within the step time-out; the whole would take seconds.
    ScriptedServer server;
    server.addReply("HTTP/1.0 200 OK\r\n\r\n" + QByteArray(100, 'b'), Mode::OneByteEvery50Ms);
    HttpSocket socket(300, 800);
    socket.beginPass();
    QElapsedTimer clock;
    clock.start();
    socket.connectTo(QStringLiteral("127.0.0.1"), server.port());
    socket.send("GET / HTTP/1.0\r\n\r\n");
    EXPECT_THROW(
        {
            while (!socket.readChunk().isEmpty()) {
            }
        },
        THttpError);
    EXPECT_GE(clock.elapsed(), 700);
    EXPECT_LT(clock.elapsed(), 2500);
}
