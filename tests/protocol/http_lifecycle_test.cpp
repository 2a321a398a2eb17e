// A transaction blocks its caller while the event loop keeps running: handlers that run in the
// middle of it must not be able to break it.
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(HttpLifecycle, DestroyingTheComponentDuringAWaitEndsTheTransaction)
{
    ScriptedServer server;
    server.addReply({}, ScriptedServer::Mode::NeverAnswer);
    auto *http = new TNMHTTP;
    // No time-out: only the destruction can end this wait.
    QTimer::singleShot(100, [http] { delete http; });
    EXPECT_THROW(http->Get(server.url(QStringLiteral("/"))), THttpError);
}

TEST(HttpLifecycle, SecondRequestOnABusyComponentIsRefused)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 200 OK\r\n\r\n" + QByteArray(200, 'b'),
                    ScriptedServer::Mode::OneByteAtATime);
    TNMHTTP http;
    http.TimeOut = 5000;
    QString refusal;
    QTimer::singleShot(50, [&] {
        try {
            http.Get(server.url(QStringLiteral("/other")));
        } catch (const THttpError &error) {
            refusal = error.text();
        }
    });
    http.Get(server.url(QStringLiteral("/")));
    EXPECT_EQ(refusal, QStringLiteral("Already connected"));
    EXPECT_EQ(http.Body, QByteArray(200, 'b'));
    EXPECT_EQ(server.connectionCount(), 1);
}

} // namespace
