#include "service/eventloop.h"

#include "service/httpserverimpl.h"

#include <arpa/inet.h>
#include <cstring>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// How often the loops look for connections past their deadline.
constexpr auto kSweepInterval = std::chrono::milliseconds(250);

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

} // namespace

int PortOf(const sockaddr_storage &address)
{
    return ntohs(address.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_port
                     : reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
}

void EventLoop::start()
{
    m_thread = std::thread([this] { run(); });
}

void EventLoop::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void EventLoop::post(int fd, std::string reply)
{
    {
        std::lock_guard lock(m_inboxMutex);
        m_inbox.emplace_back(fd, std::move(reply));
    }
    signal();
}

void EventLoop::signal()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

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
    connection.remotePort = PortOf(address);
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
