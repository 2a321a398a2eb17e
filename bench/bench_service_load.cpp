// Load on the reference service's keep-alive path: many users logged in, then keep-alives from
// several threads as fast as the service answers, each over its own connection as the client does.
//
//   bench_service_load [--users N] [--threads N] [--seconds N]

#include "service/accounts.h"
#include "service/database.h"
#include "service/mailbox.h"
#include "service/passwordhash.h"
#include "service/service.h"
#include "tests/service/rawhttp.h"

#include <QByteArrayList>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct User
{
    QByteArray logid;
    QByteArray verfyNumber;
};

int option(int argc, char **argv, const char *name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return fallback;
}

QByteArray verfyNumberOf(const QByteArray &body)
{
    const QByteArray key = "VerfyNumber=\"";
    const qsizetype start = body.indexOf(key);
    return start < 0 ? QByteArray()
                     : body.mid(start + key.size(),
                                body.indexOf('"', start + key.size()) - start - key.size());
}

} // namespace

int main(int argc, char **argv)
{
    const int userCount = option(argc, argv, "--users", 200);
    const int threadCount = option(argc, argv, "--threads", 8);
    const int seconds = option(argc, argv, "--seconds", 5);

    QTemporaryDir dir;
    ServiceOptions options;
    options.port = 0;
    options.databasePath = dir.filePath(QStringLiteral("bench.db"));
    MarbelloService service(options);
    const int port = service.start();

    std::vector<User> users;
    {
        Database database(options.databasePath);
        const QString hash = HashPassword(QStringLiteral("secret"));
        database.locked([&](SqliteConnection &db) {
            SqliteTransaction transaction(db);
            for (int i = 0; i < userCount; ++i) {
                const QString logid = QStringLiteral("user%1").arg(i);
                AddAccount(db, logid, hash, {}, 0);
                // Some keep-alives carry a message, as in real use.
                if (i % 10 == 0) {
                    QueueMessage(db, {logid, QStringLiteral("admin"), QStringLiteral("10.0.0.1"),
                                      QStringLiteral("2024-05-01 12:00:00"),
                                      QStringLiteral("欢迎使用")});
                }
                users.push_back({logid.toLatin1(), {}});
            }
            transaction.commit();
        });
    }
    const auto loginStart = Clock::now();
    for (User &user : users) {
        const RawReply reply = GetRaw(
            port, "/kbz/clientTools/userlogin.asp?logid=" + user.logid +
                      "&password=secret&WebIsOpen=1&WebIsDynamic=1&WebPort=8081&WebStaticURL="
                      "&WebTitle=t&WebKeyword=k&WebIntro=i&WebAreas=1&NotLoginURL="
                      "&ClientVersion=0.994");
        user.verfyNumber = verfyNumberOf(reply.body);
    }
    const double loginSeconds = std::chrono::duration<double>(Clock::now() - loginStart).count();

    std::atomic<long> errors{0};
    std::vector<std::vector<double>> latencies(static_cast<std::size_t>(threadCount));
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    const auto started = Clock::now();
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            std::size_t next = std::size_t(t);
            while (Clock::now() < deadline) {
                const User &user = users[next % users.size()];
                next += std::size_t(threadCount);
                const auto sent = Clock::now();
                const RawReply reply =
                    GetRaw(port, "/kbz/clientTools/userpromptonline.asp?logid=" + user.logid +
                                     "&VerfyNumber=" + user.verfyNumber);
                latencies[std::size_t(t)].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                if (!reply.body.contains("Result=\"1\""))
                    ++errors;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();

    std::vector<double> all;
    for (const auto &perThread : latencies)
        all.insert(all.end(), perThread.begin(), perThread.end());
    std::sort(all.begin(), all.end());
    const auto percentile = [&](double p) {
        return all.empty() ? 0.0
                           : all[std::min(all.size() - 1, std::size_t(p * double(all.size())))];
    };
    std::printf("users %d, client threads %d, %u cores\n", userCount, threadCount,
                std::thread::hardware_concurrency());
    std::printf("logins: %d in %.2f s (%.0f/s)\n", userCount, loginSeconds,
                userCount / loginSeconds);
    std::printf("keep-alives: %zu in %.2f s = %.0f requests/s\n", all.size(), elapsed,
                double(all.size()) / elapsed);
    std::printf("latency ms: p50 %.3f  p99 %.3f  max %.3f\n", percentile(0.50), percentile(0.99),
                all.empty() ? 0.0 : all.back());
    std::printf("errors: %ld\n", errors.load());
    return errors.load() == 0 ? 0 : 1;
}
