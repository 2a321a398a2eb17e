#pragma once

#include "service/requesthead.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <regex>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

// The service's HTTP server, as the client speaks HTTP/1.0: one request per connection, closed
// after the reply. A few event loops read every connection without ever waiting on one peer, and
// each request must arrive whole within a deadline, so a client that trickles its bytes holds
// only its own socket. Quick handlers answer on the loop that read the request; slow ones (those
// that check a password) run on worker threads, so the loops keep answering meanwhile.
class HttpServer
{
public:
    using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;
    enum class Cost { Quick, Slow };

    struct Settings
    {
        RequestLimits limits;
        // From the connection's acceptance to the last byte of the request; and for the reply.
        std::chrono::milliseconds deadline{10000};
        int loops = 2;
        int workers = 4;
        // Connections held open at once; past it new ones are closed at once.
        int maxConnections = 10000;
        // The Server line of every reply; none when empty.
        std::string serverName;
    };

    explicit HttpServer(Settings settings);
    ~HttpServer();
    HttpServer(const HttpServer &) = delete;
    HttpServer &operator=(const HttpServer &) = delete;

    // `pattern` must match the whole decoded path: a plain path, or a regular expression whose
    // groups land in Request::matches. A GET route also answers HEAD.
    void route(const char *method, const std::string &pattern, Cost cost, Handler handler);
    // Fills in a reply with a status and no body yet (no route, a refused request).
    void setErrorHandler(std::function<void(httplib::Response &)> handler);
    // Turns a handler's exception into a reply.
    void setExceptionHandler(std::function<void(httplib::Response &, std::exception_ptr)> handler);

    // Binds the address (port 0: the system picks one) and starts serving; returns the port.
    // Throws std::runtime_error when the address cannot be bound.
    int start(const std::string &host, int port);
    // Stops serving; open connections are closed. Also done by the destructor.
    void stop();

private:
    struct Impl;
    friend class EventLoop;
    std::unique_ptr<Impl> d;
};
