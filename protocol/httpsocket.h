#pragma once

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QLatin1String>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

class QEventLoop;

// The TCP connection of one transaction, with blocking-style steps. Each wait sleeps in a nested
// event loop, woken by the socket, the host lookup, the time-out timer or a cancel, so timers and
// window events keep being handled meanwhile. Each step (host lookup, connection, sending, one
// line, one chunk) ends at the latest its time-out after it started, and every step of a pass at
// the latest the pass time-out after the pass began, so a peer that trickles bytes cannot hold
// the exchange. A time-out or a cancel raises THttpError with the step's text; so does a socket
// error other than the server closing the connection.
class HttpSocket
{
public:
    // Replies are read through a buffer of this size; no reply line may be longer.
    static constexpr qsizetype kReceiveBufferBytes = 64 * 1024;

    // A time-out of 0 means no bound.
    HttpSocket(int stepTimeOutMs, int passTimeOutMs);

    // Starts the pass time-out (one request and its reply).
    void beginPass();

    // `host` is a dotted address, used as it is, or a name to look up.
    void connectTo(const QString &host, int port);
    void send(const QByteArray &bytes);
    // The next line with its line feed; once the server has closed the connection, whatever is
    // left (a last line without line end, or nothing).
    QByteArray readLine();
    // The bytes that have arrived; empty once the server has closed the connection.
    QByteArray readChunk();
    void close();
    // Ends the current wait and every later one with the step's "cancelled" failure.
    void cancel();

private:
    QHostAddress resolve(const QString &host);
    bool stillOpen() const;
    void beginStep();
    void waitForEvent(QLatin1String timedOutText, QLatin1String cancelledText);
    void waitForEvent(QLatin1String abortedText) { waitForEvent(abortedText, abortedText); }
    void wake();

    QTcpSocket m_socket;
    QTimer m_timer;
    QEventLoop *m_loop = nullptr;
    const int m_stepTimeOutMs;
    const int m_passTimeOutMs;
    QDeadlineTimer m_stepDeadline;
    QDeadlineTimer m_passDeadline;
    bool m_timedOut = false;
    bool m_cancelled = false;
    int m_lookupId = -1;
    std::optional<QHostInfo> m_lookup;
};
