#include "service/service.h"

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
#include <sys/socket.h>
#include <thread>

namespace {

// The client sends its form body with its request; nothing the service accepts comes near this.
constexpr std::size_t kMaxBody = 64 * 1024;
// Listed in the client's xml/webServerType.xml.
constexpr char kServerName[] = "Marbello-Service/0.994";

} // namespace

struct MarbelloService::Impl
{
    explicit Impl(ServiceOptions options) : context(std::move(options)) {}

    void route();
    void flushLoop();
    void flush();

    ServiceContext context;
    httplib::Server server;
    int port = 0;
    int listeningSocket = -1;
    std::thread listener;
    std::thread flusher;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
};

void MarbelloService::Impl::route()
{
    using httplib::Request;
    using httplib::Response;
    const auto answer = [this](AnswerDocument (*handler)(ServiceContext &, const Request &)) {
        return [this, handler](const Request &request, Response &response) {
            AnswerGuarded(response, [&] { return handler(context, request); });
        };
    };
    server.Get("/kbz/clientTools/userlogin.asp", answer(HandleLogin));
    server.Get("/kbz/clientTools/userpromptonline.asp", answer(HandleKeepAlive));
    server.Get("/kbz/clientTools/userlogoff.asp", answer(HandleLogoff));
    server.Post("/user/UserRegisterDo.asp", answer(HandleRegistration));
    server.Get(R"(/~([^/]*)/?)", [this](const Request &request, Response &response) {
        HandleVisit(context, request, response);
    });
    server.Get("/user/logindo.asp", [this](const Request &request, Response &response) {
        HandleAccountPage(context, request, response);
    });
    server.Get("/", [](const Request &, Response &response) { HandleHomePage(response); });
    server.Get("/kbz/help/?",
               [](const Request &, Response &response) { HandleHelpPage(response); });
    server.Get("/download/?",
               [](const Request &, Response &response) { HandleDownloadPage(response); });
    server.Get("/bbs2/?", [](const Request &, Response &response) { HandleForumPage(response); });

    server.set_error_handler([](const Request &, Response &response) {
        if (response.body.empty()) {
            ReplyPage(response, response.status,
                      response.status == 404 ? QStringLiteral("找不到页面")
                                             : QStringLiteral("请求无法处理"),
                      QStringLiteral("<p>HTTP ") + QString::number(response.status) +
                          QStringLiteral("</p>"));
        }
    });
    server.set_exception_handler([](const Request &, Response &response, std::exception_ptr error) {
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
    // The library's default would also set SO_REUSEPORT, letting a second service share the port
    // unnoticed; SO_REUSEADDR alone still allows a restart while old connections linger.
    server.set_socket_options([this](int socket) {
        const int on = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        listeningSocket = socket;
    });
    // Every reply names the service, so that the client's web-server detection recognises it;
    // HEAD requests reach the page handlers and get their header without the body.
    server.set_default_headers({{"Server", kServerName}});
    // HTTP/1.0 as the client speaks it: one request per connection, closed after the reply.
    server.set_keep_alive_max_count(1);
    server.set_payload_max_length(kMaxBody);
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
    d->port = options.port == 0
                  ? d->server.bind_to_any_port(options.host)
                  : (d->server.bind_to_port(options.host, options.port) ? options.port : -1);
    if (d->port <= 0) {
        throw std::runtime_error("cannot listen on " + options.host + ":" +
                                 std::to_string(options.port));
    }
    // The compiled library listens with a backlog of 5; every client opens a connection per
    // request, and a full queue drops connection attempts for a second. Listening again only
    // enlarges the queue.
    ::listen(d->listeningSocket, SOMAXCONN);
    d->context.setListeningPort(d->port);
    d->listener = std::thread([this] { d->server.listen_after_bind(); });
    d->flusher = std::thread([this] { d->flushLoop(); });
    return d->port;
}

void MarbelloService::stop()
{
    if (!d->listener.joinable())
        return;
    d->server.stop();
    d->listener.join();
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
