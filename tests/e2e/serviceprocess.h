#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real reference service on a free loopback port with its own database file.
class ServiceProcess
{
public:
    explicit ServiceProcess(int periodSeconds);
    ~ServiceProcess();

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    quint16 port() const { return m_port; }
    QString databasePath() const { return m_db; }
    bool isListening() const { return m_listening; }

    // Runs an administration command on the same database; its standard output.
    QString admin(const QStringList &arguments) const;

    // The status line, the Location header and the body of a plain GET of `path`, as a visitor
    // sees it.
    struct Visit
    {
        QByteArray statusLine;
        QByteArray location;
        QByteArray body;
    };
    Visit visit(const QString &path) const;

private:
    QTemporaryDir m_dir;
    QString m_db;
    quint16 m_port = 0;
    bool m_listening = false;
    QProcess m_process;
};
