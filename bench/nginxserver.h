#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

// nginx serving one static file on a loopback port, as a yardstick for the service's own speed.
// Its own configuration, logs and pid file live in a temporary folder; stopped with the object.
class NginxServer
{
public:
    static constexpr const char *kExecutable = "/usr/sbin/nginx";
    static bool available();

    // Serves `body` as /answer.xml with `workers` worker processes.
    NginxServer(const QByteArray &body, int workers);
    ~NginxServer();
    NginxServer(const NginxServer &) = delete;
    NginxServer &operator=(const NginxServer &) = delete;

    // 0 when it did not start; the reason went to stderr.
    int port() const { return m_port; }

private:
    QTemporaryDir m_dir;
    pid_t m_pid = -1;
    int m_port = 0;
};
