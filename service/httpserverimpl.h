#pragma once

#include "service/httpserver.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <httplib.h>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// The server's inside, shared by its event loops (service/eventloop.cpp), its request and reply
// plumbing (service/httpserverimpl.cpp) and its public face (service/httpserver.cpp).

class EventLoop;

struct Route
{
    std::string method;
    std::string path;                  // a plain path, compared as it is
    std::optional<std::regex> pattern; // else a pattern
    HttpServer::Cost cost;
    HttpServer::Handler handler;
};

struct HttpServer::Impl
{
    explicit Impl(Settings s);
    ~Impl();

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
