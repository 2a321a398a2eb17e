#include "service/httpserver.h"

#include <arpa/inet.h>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <httplib.h>
#include <mutex>
#include <netdb.h>
#include <optional>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace {

using Clock = std::chrono::steady_clock;

// How often the loops look for connections past their deadline.
constexpr auto kSweepInterval = std::chrono::milliseconds(250);

const char *reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 413:
        return "Payload Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

int statusFor(HeadStatus status)
{
    switch (status) {
    case HeadStatus::HeadTooLarge:
        return 431;
    case HeadStatus::BodyTooLarge:
        return 413;
    case HeadStatus::Unsupported:
        return 501;
    default:
        return 400;
    }
}

std::string addressText(const sockaddr_storage &address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET6) {
        const auto *in6 = reinterpret_cast<const sockaddr_in6 *>(&address);
        inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
    } else {
        const auto *in4 = reinterpret_cast<const sockaddr_in *>(&address);
        inet_ntop(AF_INET, &in4->sin_addr, text, sizeof text);
    }
    return text;
}

int portOf(const sockaddr_storage &address)
{
    return ntohs(address.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_port
                     : reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
}

struct Route
{
    std::string method;
    std::string path;                  // a plain path, compared as it is
    std::optional<std::regex> pattern; // else a pattern
    HttpServer::Cost cost;
    HttpServer::Handler handler;
};

struct Connection
{
    enum class State { Reading, Working, Writing };

    int fd = -1;
    std::string remoteAddr;
    int remotePort = 0;
    State state = State::Reading;
    bool watched = false; // registered with the loop's epoll
    std::string received;
    std::string reply;
    std::size_t sent = 0;
    Clock::time_point deadline;
};

} // namespace

class EventLoop;

struct HttpServer::Impl
{
    explicit Impl(Settings s) : settings(s) {}

    struct Job
    {
        EventLoop *loop;
        int fd;
        std::unique_ptr<httplib::Request> request;
        const Route *route;
    };

    // The reply's bytes for a request; `route` is null when none matched.
    std::string respond(const httplib::Request &request, const Route *route) const;
    std::string refusal(int status) const;
    // The status line and the Server line every reply starts with.
    std::string replyStart(int status) const;
    const Route *find(httplib::Request &request) const;
    void work();

    Settings settings;
    std::vector<Route> routes;
    std::function<void(httplib::Response &)> errorHandler;
    std::function<void(httplib::Response &, std::exception_ptr)> exceptionHandler;
    int listener = -1;
    std::atomic<bool> stopping{false};
    std::atomic<int> openConnections{0};
    std::vector<std::unique_ptr<EventLoop>> loops;

    std::mutex jobsMutex;
    std::condition_variable jobsReady;
    std::deque<Job> jobs;
    std::vector<std::thread> workers;
};

// One thread with its own epoll set: accepts, reads whole requests, answers quick ones itself and
// writes every reply.
class EventLoop
{
public:
    explicit EventLoop(HttpServer::Impl &server);
    ~EventLoop();
    void start()
    {
        m_thread = std::thread([this] { run(); });
    }
    void wakeToStop() { signal(); }
    void join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    // From a worker: the reply for a connection of this loop.
    void post(int fd, std::string reply)
    {
        {
            std::lock_guard lock(m_inboxMutex);
            m_inbox.emplace_back(fd, std::move(reply));
        }
        signal();
    }

private:
    void run();
    void signal()
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
    }
    void accept();
    void takeReplies();
    void readFrom(Connection &connection);
    void dispatch(Connection &connection, const RequestHead &head);
    void startWriting(Connection &connection, std::string reply);
    void writeTo(Connection &connection);
    void watch(Connection &connection, std::uint32_t events);
    void unwatch(Connection &connection);
    void close(int fd);
    void sweep();

    HttpServer::Impl &m_server;
    int m_epoll = -1;
    int m_wake = -1;
    std::unordered_map<int, Connection> m_connections;
    std::mutex m_inboxMutex;
    std::vector<std::pair<int, std::string>> m_inbox;
    std::thread m_thread;
};

EventLoop::EventLoop(HttpServer::Impl &server)
    : m_server(server), m_epoll(epoll_create1(EPOLL_CLOEXEC)),
      m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (m_epoll < 0 || m_wake < 0)
        throw std::runtime_error(std::string("event loop: ") + std::strerror(errno));
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = m_wake;
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &event);
    // Only one loop wakes for each waiting connection.
    event.events = EPOLLIN | EPOLLEXCLUSIVE;
    event.data.fd = server.listener;
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, server.listener, &event);
}

EventLoop::~EventLoop()
{
    join();
    for (auto &[fd, connection] : m_connections)
        ::close(fd);
    m_server.openConnections -= int(m_connections.size());
    ::close(m_wake);
    ::close(m_epoll);
}

void EventLoop::run()
{
    epoll_event events[64];
    auto nextSweep = Clock::now() + kSweepInterval;
    while (!m_server.stopping) {
        const int count = epoll_wait(m_epoll, events, 64, int(kSweepInterval.count()));
        for (int i = 0; i < count && !m_server.stopping; ++i) {
            const int fd = events[i].data.fd;
            if (fd == m_server.listener) {
                accept();
            } else if (fd == m_wake) {
                takeReplies();
            } else if (auto found = m_connections.find(fd); found != m_connections.end()) {
                Connection &connection = found->second;
                if (connection.state == Connection::State::Reading)
                    readFrom(connection);
                else if (connection.state == Connection::State::Writing)
                    writeTo(connection);
            }
        }
        if (const auto now = Clock::now(); now >= nextSweep) {
            sweep();
            nextSweep = now + kSweepInterval;
        }
    }
}

void EventLoop::accept()
{
    // One per wake-up: the listener stays readable while more wait, and a loop that found none
    // left would only have paid for a failed call.
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int fd = accept4(m_server.listener, reinterpret_cast<sockaddr *>(&address), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    if (m_server.openConnections >= m_server.settings.maxConnections) {
        ::close(fd);
        return;
    }
    ++m_server.openConnections;
    Connection &connection = m_connections[fd];
    connection.fd = fd;
    connection.remoteAddr = addressText(address);
    connection.remotePort = portOf(address);
    connection.deadline = Clock::now() + m_server.settings.deadline;
    // A client sends its request right after connecting, so it is usually here already; answered
    // at once, the connection never joins the epoll set.
    readFrom(connection);
}

void EventLoop::takeReplies()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_wake, &count, sizeof count);
    std::vector<std::pair<int, std::string>> replies;
    {
        std::lock_guard lock(m_inboxMutex);
        replies.swap(m_inbox);
    }
    for (auto &[fd, reply] : replies) {
        if (auto found = m_connections.find(fd); found != m_connections.end())
            startWriting(found->second, std::move(reply));
    }
}

void EventLoop::readFrom(Connection &connection)
{
    const RequestLimits &limits = m_server.settings.limits;
    char buffer[16384];
    bool peerDone = false;
    for (;;) {
        const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            connection.received.append(buffer, std::size_t(got));
            // A short read took all there was, and the loop hears of more. Past what a whole
            // request can hold, the parse below refuses it without reading on.
            if (std::size_t(got) < sizeof buffer ||
                connection.received.size() > limits.maxHeadBytes + limits.maxBodyBytes)
                break;
            continue;
        }
        peerDone = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
        break;
    }
    RequestHead head;
    const HeadStatus status = ParseRequestHead(connection.received, limits, head);
    if (status == HeadStatus::Complete &&
        connection.received.size() >= head.headBytes + head.contentLength) {
        dispatch(connection, head);
    } else if (status != HeadStatus::Complete && status != HeadStatus::Incomplete) {
        startWriting(connection, m_server.refusal(statusFor(status)));
    } else if (peerDone) {
        close(connection.fd);
    } else if (!connection.watched) {
        watch(connection, EPOLLIN);
    }
}

void EventLoop::dispatch(Connection &connection, const RequestHead &head)
{
    auto request = std::make_unique<httplib::Request>();
    request->method = head.method;
    request->target = head.target;
    request->path = DecodedPath(head.target);
    request->version = "HTTP/1.0";
    for (const auto &[name, value] : head.headers)
        request->headers.emplace(name, value);
    request->body = connection.received.substr(head.headBytes, head.contentLength);
    request->remote_addr = connection.remoteAddr;
    request->remote_port = connection.remotePort;
    connection.received.clear();

    const Route *route = m_server.find(*request);
    if (!route || route->cost == HttpServer::Cost::Quick) {
        startWriting(connection, m_server.respond(*request, route));
        return;
    }
    // Nothing to read meanwhile; the worker's reply comes back through the inbox.
    unwatch(connection);
    connection.state = Connection::State::Working;
    {
        std::lock_guard lock(m_server.jobsMutex);
        m_server.jobs.push_back({this, connection.fd, std::move(request), route});
    }
    m_server.jobsReady.notify_one();
}

void EventLoop::startWriting(Connection &connection, std::string reply)
{
    connection.state = Connection::State::Writing;
    connection.reply = std::move(reply);
    connection.sent = 0;
    connection.deadline = Clock::now() + m_server.settings.deadline;
    writeTo(connection);
}

void EventLoop::writeTo(Connection &connection)
{
    while (connection.sent < connection.reply.size()) {
        const ssize_t sent = ::send(connection.fd, connection.reply.data() + connection.sent,
                                    connection.reply.size() - connection.sent, MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            watch(connection, EPOLLOUT);
            return;
        }
        if (sent <= 0 && errno != EINTR) {
            close(connection.fd);
            return;
        }
        if (sent > 0)
            connection.sent += std::size_t(sent);
    }
    close(connection.fd);
}

void EventLoop::watch(Connection &connection, std::uint32_t events)
{
    epoll_event event{};
    event.events = events;
    event.data.fd = connection.fd;
    epoll_ctl(m_epoll, connection.watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, connection.fd, &event);
    connection.watched = true;
}

void EventLoop::unwatch(Connection &connection)
{
    if (connection.watched)
        epoll_ctl(m_epoll, EPOLL_CTL_DEL, connection.fd, nullptr);
    connection.watched = false;
}

void EventLoop::close(int fd)
{
    // Closing the descriptor also takes it out of the epoll set.
    ::close(fd);
    m_connections.erase(fd);
    --m_server.openConnections;
}

void EventLoop::sweep()
{
    const auto now = Clock::now();
    std::vector<int> late;
    for (const auto &[fd, connection] : m_connections) {
        // A request at a worker is bounded by the handler, not by the peer.
        if (connection.state != Connection::State::Working && connection.deadline <= now)
            late.push_back(fd);
    }
    for (const int fd : late)
        close(fd);
}

std::string HttpServer::Impl::replyStart(int status) const
{
    std::string start = "HTTP/1.1 " + std::to_string(status) + ' ' + reasonPhrase(status) + "\r\n";
    if (!settings.serverName.empty())
        start += "Server: " + settings.serverName + "\r\n";
    return start;
}

const Route *HttpServer::Impl::find(httplib::Request &request) const
{
    for (const Route &route : routes) {
        const bool methodMatches =
            route.method == request.method || (route.method == "GET" && request.method == "HEAD");
        if (!methodMatches)
            continue;
        if (route.pattern ? std::regex_match(request.path, request.matches, *route.pattern)
                          : request.path == route.path)
            return &route;
    }
    return nullptr;
}

std::string HttpServer::Impl::respond(const httplib::Request &request, const Route *route) const
{
    httplib::Response response;
    try {
        if (route) {
            route->handler(request, response);
            if (response.status == -1)
                response.status = 200;
        } else {
            response.status = 404;
        }
    } catch (...) {
        response = httplib::Response();
        response.status = 500;
        if (exceptionHandler)
            exceptionHandler(response, std::current_exception());
    }
    if (response.status >= 400 && response.body.empty() && errorHandler)
        errorHandler(response);

    std::string reply = replyStart(response.status);
    for (const auto &[name, value] : response.headers) {
        if (name != "Content-Length" && name != "Connection")
            reply += name + ": " + value + "\r\n";
    }
    reply +=
        "Content-Length: " + std::to_string(response.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (request.method != "HEAD")
        reply += response.body;
    return reply;
}

std::string HttpServer::Impl::refusal(int status) const
{
    httplib::Request request;
    request.method = "GET";
    httplib::Response response;
    response.status = status;
    if (errorHandler)
        errorHandler(response);
    std::string reply = replyStart(status);
    for (const auto &[name, value] : response.headers)
        reply += name + ": " + value + "\r\n";
    return reply + "Content-Length: " + std::to_string(response.body.size()) +
           "\r\nConnection: close\r\n\r\n" + response.body;
}

void HttpServer::Impl::work()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(jobsMutex);
            jobsReady.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (stopping)
                return;
            job = std::move(jobs.front());
            jobs.pop_front();
        }
        job.loop->post(job.fd, respond(*job.request, job.route));
    }
}

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
    return portOf(bound);
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
