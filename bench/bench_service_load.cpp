// Load on the reference service: logins with older and current password digests, keep-alives
// from several threads as fast as the service answers (each over its own connection, as the
// client makes them), the same with 200 slow connections open, and nginx serving a static answer
// of the same size under the same load as a yardstick.
//
//   bench_service_load [--users N] [--threads N] [--seconds N]

#include "loadrun.h"
#include "nginxserver.h"
#include "service/accounts.h"
#include "service/database.h"
#include "service/mailbox.h"
#include "service/passwordhash.h"
#include "service/service.h"
#include "tests/service/rawhttp.h"

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSlowConnections = 200;

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

// Accounts as a database from before Argon2id holds them: PBKDF2 digests.
std::vector<User> addUsers(const QString &databasePath, int count)
{
    std::vector<User> users;
    Database database(databasePath);
    const QString hash = HashPasswordPbkdf2(QStringLiteral("secret"));
    database.locked([&](SqliteConnection &db) {
        SqliteTransaction transaction(db);
        for (int i = 0; i < count; ++i) {
            const QString logid = QStringLiteral("user%1").arg(i);
            AddAccount(db, logid, hash, {}, 0);
            // Some keep-alives carry a message, as in real use.
            if (i % 10 == 0) {
                QueueMessage(db,
                             {logid, QStringLiteral("admin"), QStringLiteral("10.0.0.1"),
                              QStringLiteral("2024-05-01 12:00:00"), QStringLiteral("欢迎使用")});
            }
            users.push_back({logid.toLatin1(), {}});
        }
        transaction.commit();
    });
    return users;
}

// Logs every user in from `threads` threads; logins per second.
double logInAll(int port, std::vector<User> &users, int threads)
{
    std::atomic<std::size_t> next{0};
    const auto started = Clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (std::size_t i = next++; i < users.size(); i = next++) {
                const RawReply reply =
                    GetRaw(port, "/kbz/clientTools/userlogin.asp?logid=" + users[i].logid +
                                     "&password=secret&WebIsOpen=1&WebIsDynamic=1&WebPort=8081"
                                     "&WebStaticURL=&WebTitle=t&WebKeyword=k&WebIntro=i&WebAreas=1"
                                     "&NotLoginURL=&ClientVersion=0.994");
                users[i].verfyNumber = verfyNumberOf(reply.body);
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    return double(users.size()) / std::chrono::duration<double>(Clock::now() - started).count();
}

double checksPerSecond(const QString &digest)
{
    constexpr int kChecks = 20;
    const auto started = Clock::now();
    for (int i = 0; i < kChecks; ++i)
        CheckPassword(QStringLiteral("secret"), digest);
    return kChecks / std::chrono::duration<double>(Clock::now() - started).count();
}

} // namespace

int main(int argc, char **argv)
{
    const int userCount = option(argc, argv, "--users", 200);
    const int threadCount = option(argc, argv, "--threads", 8);
    const int seconds = option(argc, argv, "--seconds", 5);
    const unsigned cores = std::thread::hardware_concurrency();
    std::printf("users %d, client threads %d, %u cores\n", userCount, threadCount, cores);

    std::printf("password checks/s, one thread: PBKDF2 (before) %.0f, Argon2id 19 MiB t=2 "
                "(now) %.1f\n",
                checksPerSecond(HashPasswordPbkdf2(QStringLiteral("secret"))),
                checksPerSecond(HashPassword(QStringLiteral("secret"))));

    QTemporaryDir dir;
    ServiceOptions options;
    options.port = 0;
    options.databasePath = dir.filePath(QStringLiteral("bench.db"));
    std::vector<User> users = addUsers(options.databasePath, userCount);
    MarbelloService service(options);
    const int port = service.start();

    const int loginThreads = int(std::max(2u, cores));
    std::printf("logins/s, %d client threads: with PBKDF2 digests, each renewed to Argon2id "
                "%.1f; with Argon2id digests %.1f\n",
                loginThreads, logInAll(port, users, loginThreads),
                logInAll(port, users, loginThreads));

    const auto keepAlive = [&](std::size_t i) {
        const User &user = users[i % users.size()];
        return "/kbz/clientTools/userpromptonline.asp?logid=" + user.logid +
               "&VerfyNumber=" + user.verfyNumber;
    };
    const auto accepted = [](const QByteArray &body) {
        return body.contains("Result=\"1\"");
    };
    // One round first, so that the queued messages are sent and confirmed: from then on every
    // answer has the same size, the one nginx serves.
    RunLoad(port, 1, 1, keepAlive, accepted);
    const LoadFigures plain = RunLoad(port, threadCount, seconds, keepAlive, accepted);
    plain.print("keep-alives");

    LoadFigures underSlow;
    long slowClosed = 0;
    {
        const SlowConnections slow(port, kSlowConnections, std::chrono::milliseconds(3000));
        underSlow = RunLoad(port, threadCount, seconds, keepAlive, accepted);
        slowClosed = slow.closedByServer();
    }
    std::printf("with %d slow connections open (a byte every 3 s; %ld closed at the deadline) ",
                kSlowConnections, slowClosed);
    underSlow.print("keep-alives");

    if (!NginxServer::available()) {
        std::printf("nginx: %s missing (Debian nginx-light), no yardstick\n",
                    NginxServer::kExecutable);
        return plain.errors + underSlow.errors == 0 ? 0 : 1;
    }
    const QByteArray answer = GetRaw(port, keepAlive(0)).body;
    const NginxServer nginx(answer, int(std::max(1u, cores)));
    if (nginx.port() == 0)
        return 1;
    const LoadFigures yardstick = RunLoad(
        nginx.port(), threadCount, seconds, [](std::size_t) { return QByteArray("/answer.xml"); },
        [&](const QByteArray &body) { return body == answer; });
    std::printf("nginx, %u workers, the same %lld-byte answer as a file ", std::max(1u, cores),
                static_cast<long long>(answer.size()));
    yardstick.print("static answers");
    std::printf("service / nginx: %.2f (keep-alives/s against static answers/s)\n",
                plain.perSecond() / std::max(1.0, yardstick.perSecond()));
    return plain.errors + underSlow.errors + yardstick.errors == 0 ? 0 : 1;
}
