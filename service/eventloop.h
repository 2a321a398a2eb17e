#pragma once

#include "service/httpserver.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

// One client connection, as the loop that accepted it keeps it.
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
    std::chrono::steady_clock::time_point deadline;
};

// One thread with its own epoll set: accepts, reads whole requests, answers quick ones itself and
// writes every reply.
class EventLoop
{
public:
    explicit EventLoop(HttpServer::Impl &server);
    ~EventLoop();
    void start();
    void wakeToStop() { signal(); }
    void join();
    // From a worker: the reply for a connection of this loop.
    void post(int fd, std::string reply);

private:
    void run();
    void signal();
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

// The port of a socket address, IPv4 or IPv6.
int PortOf(const sockaddr_storage &address);
