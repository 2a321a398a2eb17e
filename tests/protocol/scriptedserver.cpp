#include "scriptedserver.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

// The header and as many body bytes as its Content-Length announces.
bool isCompleteRequest(const QByteArray &request)
{
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return false;
    qsizetype contentLength = 0;
    const QList<QByteArray> lines = request.left(headerEnd).split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
            contentLength = line.mid(colon + 1).trimmed().toLongLong();
    }
    return request.size() >= headerEnd + 4 + contentLength;
}

void sendByteByByte(QTcpSocket *socket, const QByteArray &bytes, int intervalMs)
{
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, bytes, sent] {
        if (*sent == bytes.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(bytes.constData() + (*sent)++, 1);
        socket->flush();
    });
    timer->start(intervalMs);
}

} // namespace

ScriptedServer::ScriptedServer(const QHostAddress &address)
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    m_server.listen(address, 0);
}

QString ScriptedServer::url(const QString &pathAndQuery) const
{
    return QStringLiteral("http://") + m_server.serverAddress().toString() + u':' +
           QString::number(port()) + pathAndQuery;
}

void ScriptedServer::addReply(const QByteArray &bytes, Mode mode)
{
    m_script.append({bytes, mode});
}

bool ScriptedServer::waitForRequests(int count, int timeOutMs)
{
    const QDeadlineTimer deadline(timeOutMs);
    while (m_completeRequests < count && !deadline.hasExpired()) {
        QEventLoop loop;
        m_waiting = &loop;
        QTimer::singleShot(deadline.remainingTime(), &loop, &QEventLoop::quit);
        loop.exec();
        m_waiting = nullptr;
    }
    return m_completeRequests >= count;
}

void ScriptedServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const qsizetype index = m_requests.size();
        m_requests.append(QByteArray());
        // Out of range (nothing scripted) gives the default reply: close at once.
        const Reply reply = m_script.value(std::min(index, m_script.size() - 1));
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        if (reply.mode == Mode::CloseAtOnce) {
            socket->close();
            continue;
        }
        QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, index, reply] {
            const bool wasComplete = isCompleteRequest(m_requests[index]);
            m_requests[index] += socket->readAll();
            if (wasComplete || !isCompleteRequest(m_requests[index]))
                return;
            ++m_completeRequests;
            if (m_waiting)
                m_waiting->quit();
            if (reply.mode == Mode::OneByteAtATime || reply.mode == Mode::OneByteEvery50Ms) {
                sendByteByByte(socket, reply.bytes, reply.mode == Mode::OneByteAtATime ? 1 : 50);
                return;
            }
            socket->write(reply.bytes);
            if (reply.mode == Mode::ReplyAndClose)
                socket->disconnectFromHost();
        });
    }
}
