#include "scriptedserver.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace {

constexpr qsizetype kFillerChunk = 64 * 1024;

// Keeps writing filler while the client reads, never more than a few chunks ahead of it.
void sendEndlessly(QTcpSocket *socket)
{
    const QByteArray filler(kFillerChunk, 'x');
    const auto topUp = [socket, filler] {
        while (socket->state() == QAbstractSocket::ConnectedState &&
               socket->bytesToWrite() < 4 * kFillerChunk)
            socket->write(filler);
    };
    QObject::connect(socket, &QIODevice::bytesWritten, socket, topUp);
    topUp();
}

void sendByteByByte(QTcpSocket *socket, const QByteArray &bytes)
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
    timer->start(1);
}

} // namespace

bool IsCompleteRequest(const QByteArray &request)
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

ScriptedServer::ScriptedServer()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    m_server.listen(QHostAddress::LocalHost, 0);
}

QString ScriptedServer::url(const QString &pathAndQuery) const
{
    return QStringLiteral("http://127.0.0.1:") + QString::number(port()) + pathAndQuery;
}

void ScriptedServer::addReply(const QByteArray &bytes, Mode mode)
{
    m_script.append({bytes, mode});
}

ScriptedServer::Reply ScriptedServer::replyFor(qsizetype connection) const
{
    if (m_script.isEmpty())
        return {};
    return m_script.at(std::min(connection, m_script.size() - 1));
}

void ScriptedServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const qsizetype index = m_requests.size();
        m_requests.append(QByteArray());
        const Reply reply = replyFor(index);
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        if (reply.mode == Mode::CloseAtOnce) {
            socket->close();
            continue;
        }
        QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, index, reply] {
            const bool wasComplete = IsCompleteRequest(m_requests[index]);
            m_requests[index] += socket->readAll();
            if (wasComplete || !IsCompleteRequest(m_requests[index]))
                return;
            switch (reply.mode) {
            case Mode::ReplyAndClose:
                socket->write(reply.bytes);
                socket->disconnectFromHost();
                break;
            case Mode::OneByteAtATime:
                sendByteByByte(socket, reply.bytes);
                break;
            case Mode::ReplyAndKeepOpen:
                socket->write(reply.bytes);
                break;
            case Mode::EndlessBody:
                socket->write(reply.bytes);
                sendEndlessly(socket);
                break;
            case Mode::NeverAnswer:
            case Mode::CloseAtOnce:
                break;
            }
        });
    }
}
