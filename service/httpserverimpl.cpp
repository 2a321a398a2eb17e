#include "service/httpserverimpl.h"

#include "service/eventloop.h"

namespace {

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

} // namespace

HttpServer::Impl::Impl(Settings s) : settings(std::move(s))
{}

HttpServer::Impl::~Impl() = default;

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
