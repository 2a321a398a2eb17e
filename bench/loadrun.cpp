#include "loadrun.h"

#include "tests/service/rawhttp.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    return fd;
}

} // namespace

void LoadFigures::print(const char *label) const
{
    std::printf("%s: %zu in %.2f s = %.0f requests/s, latency ms p50 %.3f p99 %.3f max %.3f, "
                "errors %ld\n",
                label, requests, seconds, perSecond(), p50, p99, max, errors);
}

LoadFigures RunLoad(int port, int threads, int seconds,
                    const std::function<QByteArray(std::size_t)> &target,
                    const std::function<bool(const QByteArray &)> &ok)
{
    std::atomic<long> errors{0};
    std::vector<std::vector<double>> latencies(static_cast<std::size_t>(threads));
    const auto started = Clock::now();
    const auto deadline = started + std::chrono::seconds(seconds);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (std::size_t i = std::size_t(t); Clock::now() < deadline;
                 i += std::size_t(threads)) {
                const auto sent = Clock::now();
                const RawReply reply = GetRaw(port, target(i));
                latencies[std::size_t(t)].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                if (reply.status != 200 || !ok(reply.body))
                    ++errors;
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();

    LoadFigures figures;
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::vector<double> all;
    for (const auto &perThread : latencies)
        all.insert(all.end(), perThread.begin(), perThread.end());
    std::sort(all.begin(), all.end());
    const auto percentile = [&](double p) {
        return all.empty() ? 0.0
                           : all[std::min(all.size() - 1, std::size_t(p * double(all.size())))];
    };
    figures.requests = all.size();
    figures.errors = errors;
    figures.p50 = percentile(0.50);
    figures.p99 = percentile(0.99);
    figures.max = all.empty() ? 0.0 : all.back();
    return figures;
}

struct SlowConnections::Impl
{
    int port;
    std::chrono::milliseconds interval;
    std::vector<int> sockets;
    std::vector<std::size_t> sentBytes;
    std::atomic<long> closed{0};
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;

    void run()
    {
        static const char kRequest[] = "GET /kbz/clientTools/userpromptonline.asp?logid=slow";
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, interval, [this] { return stopping; })) {
            for (std::size_t i = 0; i < sockets.size(); ++i) {
                const char byte = kRequest[sentBytes[i] % (sizeof kRequest - 1)];
                if (::send(sockets[i], &byte, 1, MSG_NOSIGNAL) == 1) {
                    ++sentBytes[i];
                    continue;
                }
                ::close(sockets[i]);
                ++closed;
                sockets[i] = connectTo(port);
                sentBytes[i] = 0;
            }
        }
    }
};

SlowConnections::SlowConnections(int port, int count, std::chrono::milliseconds interval)
    : d(std::make_unique<Impl>())
{
    d->port = port;
    d->interval = interval;
    for (int i = 0; i < count; ++i) {
        d->sockets.push_back(connectTo(port));
        d->sentBytes.push_back(0);
    }
    d->thread = std::thread([this] { d->run(); });
}

SlowConnections::~SlowConnections()
{
    {
        std::lock_guard lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    d->thread.join();
    for (const int fd : d->sockets)
        ::close(fd);
}

long SlowConnections::closedByServer() const
{
    return d->closed;
}
