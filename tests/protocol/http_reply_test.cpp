// How replies are read: header and body as received, redirects, and replies that must end the
// transaction cleanly however bad they are.
#include "core/clientserviceinfo.h"
#include "protocol/httprequests.h"
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

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
    std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"<answer/>\n\nrest of it", "rest of it"}, // no status line: code 0, still success
        {"HTTP/1.0 404 Not Found\r\n\r\n<html>missing</html>", "<html>missing</html>"},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n", ""}, // no blank line
        {replyWithLine(64 * 1024), "body"},
    };
    // HTTP/1.0: the body ends where the server closes, whatever Content-Length says.
    for (const QByteArray length : {"3", "999999999999", "-5", "abc"})
        cases.emplace_back("HTTP/1.0 200 OK\r\nContent-Length: " + length + "\r\n\r\n0123456789",
                           "0123456789");
    for (const auto &[reply, body] : cases) {
        ScriptedServer server;
        server.addReply(reply);
        TNMHTTP http;
        EXPECT_NO_THROW(http.Get(server.url(QStringLiteral("/")))) << reply.left(60).constData();
        EXPECT_EQ(http.Header, reply.chopped(body.size())) << reply.left(60).constData();
        EXPECT_EQ(http.Body, body);
    }
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

TEST(HttpRedirect, NextPassTarget)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        // No Location: the root of the same host and port.
        {"HTTP/1.0 302 Found\r\n\r\n", "GET / HTTP/1.0"},
        {"HTTP/1.0 301 Moved\r\nLocation: /next\rX-Injected: 1\r\n\r\n",
         "GET /next%0DX-Injected:%201 HTTP/1.0"},
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
        {"body over 16 MiB", "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(16 * 1024 * 1024 + 1, 'x'),
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
