// Client cost of one GET exchange on loopback: the server runs in its own thread on plain POSIX
// sockets, so the main thread's CPU clock measures the client alone.
#include "core/clientserviceinfo.h"
#include "protocol/httprequests.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// About the size of a keep-alive answer.
const std::string kReply = [] {
    std::string body = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root><status Result=\"1\" "
                       "Reason=\"\" ClientPromptOnlineSeconds=\"60\" WebAreasVersion=\"3\" "
                       "WebServerTypeVersion=\"2\"/><messages/></root>";
    body.resize(240, ' ');
    return "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}();

// Answers every connection with kReply once the request header is in, then closes.
void serve(int listener, std::atomic<bool> &stop)
{
    while (!stop) {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = read(connection, buffer, sizeof buffer);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<size_t>(got));
        }
        if (write(connection, kReply.data(), kReply.size()) < 0)
            std::perror("write");
        close(connection);
    }
}

double threadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 2000;

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        listen(listener, 64) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        std::perror("listen");
        return 1;
    }
    std::atomic<bool> stop = false;
    std::thread server(serve, listener, std::ref(stop));

    const QString url = QStringLiteral("http://127.0.0.1:%1/kbz/clientTools/userpromptonline.asp"
                                       "?logid=bench&VerfyNumber=12345")
                            .arg(ntohs(address.sin_port));
    TClientServiceInfo info;
    int failures = 0;
    const double cpuStart = threadCpuMicroseconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < exchanges; ++i) {
        if (HttpGet(info, 5000, url).isEmpty())
            ++failures;
    }
    const double cpu = threadCpuMicroseconds() - cpuStart;
    const double wall =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wallStart)
            .count();

    stop = true;
    shutdown(listener, SHUT_RDWR);
    close(listener);
    server.join();

    std::printf("http: %d exchanges, %.1f us CPU per exchange, %.1f us wall per exchange, "
                "%d failed\n",
                exchanges, cpu / exchanges, wall / exchanges, failures);
    return failures == 0 ? 0 : 1;
}
