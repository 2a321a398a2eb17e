#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QProcess>
#include <QTemporaryDir>

// The Debian tinyproxy, run in the foreground with a private configuration on a loopback address
// for as long as the object lives. Port 0 picks a free port.
class TinyProxy
{
public:
    // `basicAuth` is "user password" for its BasicAuth line; empty: no authentication.
    explicit TinyProxy(const QByteArray &basicAuth = {},
                       const QHostAddress &address = QHostAddress(QHostAddress::LocalHost),
                       quint16 port = 0);
    ~TinyProxy();
    TinyProxy(const TinyProxy &) = delete;
    TinyProxy &operator=(const TinyProxy &) = delete;

    bool isListening() const { return m_listening; }
    quint16 port() const { return m_port; }
    // Its output, for a failure message.
    QByteArray log();

private:
    bool start(const QByteArray &basicAuth, const QHostAddress &address);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_listening = false;
};

// A port on 127.0.0.1 that nothing listens on (free when asked).
quint16 UnusedPort();
