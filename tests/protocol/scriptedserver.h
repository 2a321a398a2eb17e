#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QList>
#include <QString>
#include <QTcpServer>

// A fake HTTP server on 127.0.0.1 (or another loopback address), on a port the OS picks, for tests
// that run the client in the same thread: it works from the event loop the client's waits keep
// running. Each accepted connection records every byte it receives and, once the request is
// complete (header end plus Content-Length bytes), answers with the next scripted reply.
class ScriptedServer
{
public:
    enum class Mode {
        ReplyAndClose,    // send the reply, then close
        OneByteAtATime,   // send the reply a byte per millisecond, then close
        OneByteEvery50Ms, // send the reply a byte every 50 ms, then close
        ReplyAndKeepOpen, // send the reply (if any), then stay silent with the connection open
        CloseAtOnce,      // close as soon as the connection is accepted, reading nothing
    };

    explicit ScriptedServer(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost));
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    quint16 port() const { return m_server.serverPort(); }
    // "http://<address>:<port>" followed by `pathAndQuery`.
    QString url(const QString &pathAndQuery = QString()) const;

    // Scripts the answer to the next connection; the last one scripted answers every further
    // connection. Without any, connections are closed at once.
    void addReply(const QByteArray &bytes, Mode mode = Mode::ReplyAndClose);

    int connectionCount() const { return static_cast<int>(m_requests.size()); }
    // Runs the event loop until `count` complete requests have arrived; false after `timeOutMs`.
    bool waitForRequests(int count, int timeOutMs = 10000);
    // Every byte received, one entry per connection in the order of acceptance.
    const QList<QByteArray> &requests() const { return m_requests; }

private:
    struct Reply
    {
        QByteArray bytes;
        Mode mode = Mode::CloseAtOnce;
    };

    void accept();

    int m_completeRequests = 0;
    QEventLoop *m_waiting = nullptr;
    QList<Reply> m_script;
    QList<QByteArray> m_requests;
    // Last, so that its connections go before the lists they write into.
    QTcpServer m_server;
};
