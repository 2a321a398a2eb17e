// Handlers that run while a transaction waits in the event loop must not be able to break it.
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(HttpLifecycle, TricklingReplyIsCapturedWholeAndASecondRequestIsRefused)
{
    // About a second of trickling against a 300 ms bound, which is on inactivity only.
    const QByteArray header = "HTTP/1.0 200 OK\r\nSet-Cookie: a=1\r\n\r\n";
    const QByteArray body = "<r Reason=\"\xD6\xD0\"/>\r\n<tail/>" + QByteArray(800, 'b');
    ScriptedServer server;
    server.addReply(header + body, ScriptedServer::Mode::OneByteAtATime);
    TNMHTTP http;
    http.TimeOut = 300;
    bool refused = false;
    QTimer::singleShot(50, &http, [&] {
        EXPECT_THROW(http.Get(server.url(QStringLiteral("/other"))), THttpError);
        refused = true;
    });
    http.Get(server.url(QStringLiteral("/")));
    EXPECT_TRUE(refused);
    EXPECT_EQ(http.Header, header);
    EXPECT_EQ(http.Body, body);
    EXPECT_EQ(server.connectionCount(), 1);
}

TEST(HttpLifecycle, DestroyingTheComponentDuringAWaitEndsTheTransaction)
{
    ScriptedServer server;
    server.addReply({}, ScriptedServer::Mode::ReplyAndKeepOpen);
    auto *http = new TNMHTTP; // TimeOut 0: no bound, only the destruction ends the wait
    bool destroyed = false;
    QObject scope;
    QTimer::singleShot(200, &scope, [&] {
        destroyed = true;
        delete http;
    });
    EXPECT_THROW(http->Get(server.url(QStringLiteral("/"))), THttpError);
    EXPECT_TRUE(destroyed);
}

} // namespace
