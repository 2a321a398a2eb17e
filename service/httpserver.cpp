#include "service/httpserver.h"

#include "service/eventloop.h"
#include "service/httpserverimpl.h"

#include <netdb.h>
#include <stdexcept>
#include <unistd.h>

HttpServer::HttpServer(Settings settings) : d(std::make_unique<Impl>(settings))
{}

HttpServer::~HttpServer()
{
    stop();
}

void HttpServer::route(const char *method, const std::string &pattern, Cost cost, Handler handler)
{
    // Most routes are plain paths; a regular expression match would cost more than the answer.
    // (A "." in a plain path is only a dot.)
    const bool plain = pattern.find_first_of("()[]{}?*+|\\^$") == std::string::npos;
    Route route{method, pattern, std::nullopt, cost, std::move(handler)};
    if (!plain)
        route.pattern.emplace(pattern);
    d->routes.push_back(std::move(route));
}

void HttpServer::setErrorHandler(std::function<void(httplib::Response &)> handler)
{
    d->errorHandler = std::move(handler);
}

void HttpServer::setExceptionHandler(
    std::function<void(httplib::Response &, std::exception_ptr)> handler)
{
    d->exceptionHandler = std::move(handler);
}

int HttpServer::start(const std::string &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *addresses = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &addresses) !=
        0)
        throw std::runtime_error("cannot resolve " + host);
    for (addrinfo *a = addresses; a && d->listener < 0; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            continue;
        // SO_REUSEADDR alone: a restart while old connections linger, but never a second service
        // on the same port.
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (bind(fd, a->ai_addr, a->ai_addrlen) == 0 && listen(fd, SOMAXCONN) == 0)
            d->listener = fd;
        else
            ::close(fd);
    }
    freeaddrinfo(addresses);
    if (d->listener < 0)
        throw std::runtime_error("cannot listen on " + host + ":" + service);

    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(d->listener, reinterpret_cast<sockaddr *>(&bound), &length);
    d->stopping = false;
    for (int i = 0; i < std::max(1, d->settings.loops); ++i)
        d->loops.push_back(std::make_unique<EventLoop>(*d));
    for (auto &loop : d->loops)
        loop->start();
    for (int i = 0; i < std::max(1, d->settings.workers); ++i)
        d->workers.emplace_back([this] { d->work(); });
    return PortOf(bound);
}

void HttpServer::stop()
{
    if (d->listener < 0)
        return;
    {
        std::lock_guard lock(d->jobsMutex);
        d->stopping = true;
    }
    d->jobsReady.notify_all();
    for (auto &worker : d->workers)
        worker.join();
    d->workers.clear();
    for (auto &loop : d->loops)
        loop->wakeToStop();
    d->loops.clear();
    d->jobs.clear();
    ::close(d->listener);
    d->listener = -1;
}
