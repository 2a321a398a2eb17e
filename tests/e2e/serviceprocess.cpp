#include "serviceprocess.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

QString serviceExecutable()
{
    return QStringLiteral(MARBELLO_SERVICE_EXECUTABLE);
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

ServiceProcess::ServiceProcess(int periodSeconds)
    : m_db(m_dir.filePath(QStringLiteral("service.db"))), m_port(freePort())
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(serviceExecutable(),
                    {QStringLiteral("--listen"), host(), QStringLiteral("--db"), m_db,
                     QStringLiteral("--period"), QString::number(periodSeconds)});
    // The service needs a moment to open its database and listen.
    for (int attempt = 0; attempt < 100 && !m_listening; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        m_listening = probe.waitForConnected(100);
        if (!m_listening)
            QThread::msleep(50);
    }
}

ServiceProcess::~ServiceProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished();
}

QString ServiceProcess::admin(const QStringList &arguments) const
{
    QProcess command;
    command.start(serviceExecutable(), arguments + QStringList{QStringLiteral("--db"), m_db});
    command.waitForFinished(10000);
    return QString::fromUtf8(command.readAllStandardOutput());
}

ServiceProcess::Visit ServiceProcess::visit(const QString &path) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    socket.waitForConnected(2000);
    socket.write("GET " + path.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray reply;
    while (socket.waitForReadyRead(2000))
        reply += socket.readAll();
    Visit visit;
    const qsizetype headerEnd = reply.indexOf("\r\n\r\n");
    if (headerEnd >= 0)
        visit.body = reply.mid(headerEnd + 4);
    const QList<QByteArray> lines = reply.left(headerEnd).split('\n');
    visit.statusLine = lines.value(0).trimmed();
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("location:"))
            visit.location = line.mid(9).trimmed();
    }
    return visit;
}
