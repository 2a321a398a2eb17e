#include "tests/platform/tinyproxy.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

quint16 freePort(const QHostAddress &address)
{
    QTcpServer probe;
    return probe.listen(address, 0) ? probe.serverPort() : 0;
}

} // namespace

quint16 UnusedPort()
{
    return freePort(QHostAddress(QHostAddress::LocalHost));
}

TinyProxy::TinyProxy(const QByteArray &basicAuth, const QHostAddress &address, quint16 port)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // Another test may take a free port between the probe and tinyproxy's bind: try again.
    for (int attempt = 0; attempt < 3 && !m_listening; ++attempt) {
        m_port = port != 0 ? port : freePort(address);
        m_listening = start(basicAuth, address);
        if (port != 0)
            break;
    }
}

TinyProxy::~TinyProxy()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

QByteArray TinyProxy::log()
{
    return m_process.readAll();
}

bool TinyProxy::start(const QByteArray &basicAuth, const QHostAddress &address)
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    QByteArray config = "Port " + QByteArray::number(m_port) + "\nListen " +
                        address.toString().toLatin1() + "\nTimeout 30\nMaxClients 20\n" +
                        "LogLevel Connect\nAllow 127.0.0.0/8\n";
    if (!basicAuth.isEmpty())
        config += "BasicAuth " + basicAuth + '\n';
    const QString configPath = m_dir.filePath(QStringLiteral("tinyproxy.conf"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
        return false;
    file.close();

    const QString program = QStandardPaths::findExecutable(QStringLiteral("tinyproxy"));
    if (program.isEmpty())
        return false;
    m_process.start(program, {QStringLiteral("-d"), QStringLiteral("-c"), configPath});
    if (!m_process.waitForStarted())
        return false;
    // Listening takes it a moment after starting; it ends at once when the port is taken.
    for (int i = 0; i < 100 && m_process.state() == QProcess::Running; ++i) {
        QTcpSocket probe;
        probe.connectToHost(address, m_port);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(20);
    }
    return false;
}
