#include "protocol/httpsocket.h"

#include "protocol/httperror.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QScopeGuard>
#include <algorithm>

namespace {

// The code with which the socket's own events end a wait.
constexpr int kWoken = 1;

QDeadlineTimer deadlineIn(int timeOutMs)
{
    return timeOutMs > 0 ? QDeadlineTimer(timeOutMs) : QDeadlineTimer(QDeadlineTimer::Forever);
}

} // namespace

HttpSocket::HttpSocket(int stepTimeOutMs, int passTimeOutMs)
    : m_stepTimeOutMs(stepTimeOutMs), m_passTimeOutMs(passTimeOutMs),
      m_passDeadline(deadlineIn(passTimeOutMs))
{
    // Proxies are the component's business, never Qt's own.
    m_socket.setProxy(QNetworkProxy::NoProxy);
    // A bounded buffer bounds memory however fast a server sends.
    m_socket.setReadBufferSize(kReceiveBufferBytes);
    m_timer.setSingleShot(true);

    const auto wake = [this] {
        this->wake();
    };
    QObject::connect(&m_socket, &QAbstractSocket::stateChanged, &m_socket, wake);
    QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &m_socket, wake);
    QObject::connect(&m_socket, &QIODevice::readyRead, &m_socket, wake);
    QObject::connect(&m_socket, &QIODevice::bytesWritten, &m_socket, wake);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        m_timedOut = true;
        this->wake();
    });
}

void HttpSocket::beginPass()
{
    m_passDeadline = deadlineIn(m_passTimeOutMs);
}

void HttpSocket::beginStep()
{
    m_stepDeadline = deadlineIn(m_stepTimeOutMs);
}

void HttpSocket::connectTo(const QString &host, int port)
{
    const QHostAddress address = resolve(host);
    if (port <= 0 || port > 65535)
        throw THttpError(QStringLiteral("Connection Failed"));
    beginStep();
    m_socket.connectToHost(address, static_cast<quint16>(port));
    while (m_socket.state() != QAbstractSocket::ConnectedState) {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            throw THttpError(QStringLiteral("Connection Failed"));
        waitForEvent(QLatin1String("Connection Timed out"), QLatin1String("Connection Canceled"));
    }
}

QHostAddress HttpSocket::resolve(const QString &host)
{
    if (QHostAddress address; address.setAddress(host))
        return address;
    if (host.isEmpty())
        throw THttpError(QStringLiteral("Null Remote Address"));

    beginStep();
    m_lookup.reset();
    m_lookupId = QHostInfo::lookupHost(host, &m_socket, [this](const QHostInfo &info) {
        if (info.lookupId() != m_lookupId)
            return;
        m_lookup = info;
        wake();
    });
    const auto abandon = qScopeGuard([this] {
        if (!m_lookup)
            QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    });
    while (!m_lookup)
        waitForEvent(QLatin1String("Host Lookup Timed Out"), QLatin1String("Host Lookup Canceled"));

    // Like the service, the rest of the world is reached over IPv4 first.
    const QList<QHostAddress> addresses = m_lookup->addresses();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;
    }
    if (addresses.isEmpty())
        throw THttpError(QStringLiteral("Null Remote Address"));
    return addresses.first();
}

void HttpSocket::send(const QByteArray &bytes)
{
    beginStep();
    m_socket.write(bytes);
    // A server that closes before taking the whole request may still have answered: the reply
    // reading finds out.
    while (m_socket.bytesToWrite() > 0 && stillOpen())
        waitForEvent(QLatin1String("Socket send aborted"));
}

QByteArray HttpSocket::readLine()
{
    beginStep();
    for (;;) {
        // Read without a limit, the line takes what it needs rather than a buffer of the limit
        // every time; the bounded read buffer keeps it short.
        if (m_socket.canReadLine()) {
            QByteArray line = m_socket.readLine();
            if (line.size() > kReceiveBufferBytes)
                break;
            return line;
        }
        if (m_socket.bytesAvailable() >= kReceiveBufferBytes)
            break;
        if (!stillOpen())
            return m_socket.readAll();
        waitForEvent(QLatin1String("Socket readln aborted"));
    }
    throw THttpError(QStringLiteral("Reply line too long"));
}

QByteArray HttpSocket::readChunk()
{
    beginStep();
    for (;;) {
        if (m_socket.bytesAvailable() > 0)
            return m_socket.readAll();
        if (!stillOpen())
            return {};
        waitForEvent(QLatin1String("Socket capture aborted"));
    }
}

void HttpSocket::close()
{
    m_socket.abort();
}

void HttpSocket::cancel()
{
    m_cancelled = true;
    m_socket.abort();
    wake();
}

bool HttpSocket::stillOpen() const
{
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        return true;
    const QAbstractSocket::SocketError error = m_socket.error();
    if (error != QAbstractSocket::RemoteHostClosedError &&
        error != QAbstractSocket::UnknownSocketError)
        throw THttpError(QString::number(static_cast<int>(error)) + u':' + m_socket.errorString());
    return false;
}

void HttpSocket::waitForEvent(QLatin1String timedOutText, QLatin1String cancelledText)
{
    // The earlier of the two ends; a bound that has no end is the latest of all.
    const QDeadlineTimer deadline = std::min(m_stepDeadline, m_passDeadline);
    m_timedOut = deadline.hasExpired();
    if (!m_cancelled && !m_timedOut) {
        QEventLoop loop;
        m_loop = &loop;
        if (!deadline.isForever())
            m_timer.start(std::chrono::milliseconds(deadline.remainingTime()));
        // Any other end of the loop means the application is quitting: the exchange is given up
        // rather than waited for again, which would spin once the loops refuse to run.
        if (loop.exec() != kWoken)
            m_cancelled = true;
        m_loop = nullptr;
        m_timer.stop();
    }
    if (m_cancelled)
        throw THttpError(QString(cancelledText));
    if (m_timedOut)
        throw THttpError(QString(timedOutText));
}

void HttpSocket::wake()
{
    if (m_loop)
        m_loop->exit(kWoken);
}
