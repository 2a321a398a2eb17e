#include "rawhttp.h"

#include <QList>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

QByteArray RawReply::header(const QByteArray &name) const
{
    for (const QByteArray &line : headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.sliced(colon + 1).trimmed();
    }
    return {};
}

RawReply SendRaw(int port, const QByteArray &request)
{
    RawReply reply;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    // A generous bound, so that a service that never answers fails the test instead of hanging it.
    const timeval timeout{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size()) {
        QByteArray received;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            received.append(buffer, got);
        reply.closed = got == 0;
        const qsizetype end = received.indexOf("\r\n\r\n");
        reply.headers = end < 0 ? received : received.first(end + 2);
        reply.body = end < 0 ? QByteArray() : received.sliced(end + 4);
        reply.status = reply.headers.startsWith("HTTP/1.") ? reply.headers.mid(9, 3).toInt() : 0;
    }
    ::close(fd);
    return reply;
}

namespace {
constexpr char kHeaders[] =
    " HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-type: application/x-www-form-urlencoded\r\n";
} // namespace

RawReply GetRaw(int port, const QByteArray &target)
{
    return SendRaw(port, "GET " + target + kHeaders + "\r\n");
}

RawReply PostRaw(int port, const QByteArray &path, const QByteArray &body)
{
    return SendRaw(port, "POST " + path + kHeaders + "Content-Length: " +
                             QByteArray::number(body.size()) + "\r\n\r\n" + body);
}
