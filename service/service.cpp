#include "service/service.h"

#include "service/httpserver.h"
#include "service/registration.h"
#include "service/replies.h"
#include "service/servicecontext.h"
#include "service/servicepages.h"
#include "service/sessionrequests.h"
#include "service/visitorredirect.h"

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <httplib.h>
#include <thread>

struct MarbelloService::Impl
{
    explicit Impl(ServiceOptions options) : context(std::move(options)), server(serverSettings()) {}

    static HttpServer::Settings serverSettings();
    void route();
    void flushLoop();
    void flush();

    ServiceContext context;
    HttpServer server;
    int port = 0;
    std::thread flusher;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
};

HttpServer::Settings MarbelloService::Impl::serverSettings()
{
    HttpServer::Settings settings;
    // The client sends its form body with its request; nothing the service accepts comes near
    // this.
    settings.limits.maxBodyBytes = 64 * 1024;
    // Every client request is one short line of a few hundred bytes, sent at once.
    settings.deadline = std::chrono::seconds(10);
    // Named, so that the client's web-server detection recognises the service (its
    // xml/webServerType.xml lists this name).
    settings.serverName = "Marbello-Service/0.994";
    return settings;
}

void MarbelloService::Impl::route()
{
    using httplib::Request;
    using httplib::Response;
    using Cost = HttpServer::Cost;
    const auto answer = [this](AnswerDocument (*handler)(ServiceContext &, const Request &)) {
        return [this, handler](const Request &request, Response &response) {
            AnswerGuarded(response, [&] { return handler(context, request); });
        };
    };
    // Logins, registrations and the account page check or make a password digest, which takes
    // tens of milliseconds on purpose: they run beside the quick requests, not before them.
    server.route("GET", "/kbz/clientTools/userlogin.asp", Cost::Slow, answer(HandleLogin));
    server.route("GET", "/kbz/clientTools/userpromptonline.asp", Cost::Quick,
                 answer(HandleKeepAlive));
    server.route("GET", "/kbz/clientTools/userlogoff.asp", Cost::Quick, answer(HandleLogoff));
    server.route("POST", "/user/UserRegisterDo.asp", Cost::Slow, answer(HandleRegistration));
    server.route("GET", R"(/~([^/]*)/?)", Cost::Quick,
                 [this](const Request &request, Response &response) {
                     HandleVisit(context, request, response);
                 });
    server.route("GET", "/user/logindo.asp", Cost::Slow,
                 [this](const Request &request, Response &response) {
                     HandleAccountPage(context, request, response);
                 });
    server.route("GET", "/", Cost::Quick,
                 [](const Request &, Response &response) { HandleHomePage(response); });
    server.route("GET", "/kbz/help/?", Cost::Quick,
                 [](const Request &, Response &response) { HandleHelpPage(response); });
    server.route("GET", "/download/?", Cost::Quick,
                 [](const Request &, Response &response) { HandleDownloadPage(response); });
    server.route("GET", "/bbs2/?", Cost::Quick,
                 [](const Request &, Response &response) { HandleForumPage(response); });

    server.setErrorHandler([](Response &response) {
        ReplyPage(
            response, response.status,
            response.status == 404 ? QStringLiteral("找不到页面") : QStringLiteral("请求无法处理"),
            QStringLiteral("<p>HTTP ") + QString::number(response.status) + QStringLiteral("</p>"));
    });
    server.setExceptionHandler([](Response &response, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception &failure) {
            std::fprintf(stderr, "marbello-service: %s\n", failure.what());
        } catch (...) {
            std::fprintf(stderr, "marbello-service: unknown failure\n");
        }
        ReplyPage(response, 500, QStringLiteral("服务器错误"),
                  QStringLiteral("<p>请稍后再试。</p>"));
    });
}

void MarbelloService::Impl::flushLoop()
{
    const auto interval = std::chrono::seconds(std::max(1, context.options().flushSeconds));
    std::unique_lock lock(mutex);
    while (!wake.wait_for(lock, interval, [this] { return stopping; })) {
        lock.unlock();
        flush();
        lock.lock();
    }
}

void MarbelloService::Impl::flush()
{
    try {
        context.flushSessions();
    } catch (const SqliteError &error) {
        std::fprintf(stderr, "marbello-service: saving keep-alive times: %s\n", error.what());
    }
}

MarbelloService::MarbelloService(ServiceOptions options)
    : d(std::make_unique<Impl>(std::move(options)))
{
    d->route();
}

MarbelloService::~MarbelloService()
{
    stop();
}

int MarbelloService::start()
{
    // A visitor or client that hangs up early must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    const ServiceOptions &options = d->context.options();
    d->port = d->server.start(options.host, options.port);
    d->context.setListeningPort(d->port);
    d->flusher = std::thread([this] { d->flushLoop(); });
    return d->port;
}

void MarbelloService::stop()
{
    if (!d->flusher.joinable())
        return;
    d->server.stop();
    {
        std::lock_guard lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    d->flusher.join();
    flushSessions();
}

int MarbelloService::port() const
{
    return d->port;
}

void MarbelloService::flushSessions()
{
    d->flush();
}
