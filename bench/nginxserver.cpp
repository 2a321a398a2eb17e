#include "nginxserver.h"

#include <QDir>
#include <QFile>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

// A port nobody listens on now; nginx binds it a moment later.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

bool NginxServer::available()
{
    return ::access(kExecutable, X_OK) == 0;
}

NginxServer::NginxServer(const QByteArray &body, int workers)
{
    const QByteArray dir = m_dir.path().toLocal8Bit();
    QDir(m_dir.path()).mkpath(QStringLiteral("www"));
    // nginx's workers run as an unprivileged user when it is started as root.
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(m_dir.path(), readable);
    QFile::setPermissions(m_dir.filePath(QStringLiteral("www")), readable);
    const int port = freePort();
    const QByteArray config =
        "worker_processes " + QByteArray::number(workers) + ";\ndaemon off;\npid " + dir +
        "/nginx.pid;\nerror_log " + dir +
        "/error.log;\nevents { worker_connections 4096; }\nhttp {\n  access_log off;\n"
        "  default_type text/xml;\n  client_body_temp_path " +
        dir +
        "/tmp;\n"
        "  server {\n    listen 127.0.0.1:" +
        QByteArray::number(port) + ";\n    root " + dir + "/www;\n  }\n}\n";
    if (!writeFile(m_dir.filePath(QStringLiteral("nginx.conf")), config) ||
        !writeFile(m_dir.filePath(QStringLiteral("www/answer.xml")), body)) {
        std::fprintf(stderr, "nginx: cannot write its files\n");
        return;
    }
    const QByteArray configPath = dir + "/nginx.conf";
    const char *argv[] = {kExecutable, "-p",     dir.constData(), "-c", configPath.constData(),
                          "-e",        "stderr", nullptr};
    if (posix_spawn(&m_pid, kExecutable, nullptr, nullptr, const_cast<char **>(argv), environ) !=
        0) {
        m_pid = -1;
        std::fprintf(stderr, "nginx: cannot start %s\n", kExecutable);
        return;
    }
    // Ready once it accepts; a bounded wait for a process that starts in milliseconds.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (accepts(port)) {
            m_port = port;
            return;
        }
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            std::fprintf(stderr, "nginx: exited at start\n");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::fprintf(stderr, "nginx: not listening after 5 s\n");
}

NginxServer::~NginxServer()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
}
