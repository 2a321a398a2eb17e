#include "service/commands.h"

#include "service/accounts.h"
#include "service/database.h"
#include "service/passwordhash.h"
#include "service/requestfields.h"
#include "service/service.h"
#include "service/sessions.h"

#include <QDateTime>
#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int fail(const QString &text)
{
    print(stderr, QStringLiteral("marbello-service: ") + text);
    return 1;
}

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

QString localTime(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The checks of a message's texts: what the client stores and shows must stay one line each.
QString messageProblem(const QueuedMessage &message)
{
    const struct
    {
        const char *name;
        const QString &text;
        qsizetype limit;
    } fields[] = {{"--from", message.fromLogid, 20},
                  {"--from-ip", message.fromIp, 45},
                  {"--comment", message.comment, 500},
                  {"--posted", message.postDateTime, 30}};
    for (const auto &field : fields) {
        if (field.text.size() > field.limit)
            return QLatin1String(field.name) + QStringLiteral(" is longer than ") +
                   QString::number(field.limit) + QStringLiteral(" characters");
        if (hasControlCharacter(field.text))
            return QLatin1String(field.name) + QStringLiteral(" holds a control character");
    }
    return {};
}

} // namespace

int RunServe(const ServiceOptions &options)
{
    // The signals are taken by sigwait below; every thread started later inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        MarbelloService service(options);
        const int port = service.start();
        print(stdout, QStringLiteral("marbello-service listening on ") +
                          QString::fromStdString(options.host) + QLatin1Char(':') +
                          QString::number(port) + QStringLiteral(", database ") +
                          options.databasePath);
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        service.stop();
        return 0;
    } catch (const std::exception &error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
}

int RunAddUser(const Command &command)
{
    if (!IsValidLogid(command.logid))
        return fail(QStringLiteral("ID must be 3-12 letters, digits, - or _"));
    if (command.password.size() < 3 || command.password.size() > 12 ||
        hasControlCharacter(command.password))
        return fail(QStringLiteral("PASSWORD must be 3-12 characters without control characters"));
    try {
        Database database(command.options.databasePath);
        const QString hash = HashPassword(command.password);
        const bool added = database.locked([&](SqliteConnection &db) {
            return AddAccount(db, command.logid, hash, {}, QDateTime::currentSecsSinceEpoch());
        });
        if (!added)
            return fail(QStringLiteral("the ID ") + command.logid + QStringLiteral(" is taken"));
        print(stdout, QStringLiteral("added ") + command.logid);
        return 0;
    } catch (const SqliteError &error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
}

int RunPostMessage(const Command &command)
{
    QueuedMessage message = command.message;
    if (message.postDateTime.isEmpty())
        message.postDateTime = localTime(QDateTime::currentSecsSinceEpoch());
    if (const QString problem = messageProblem(message); !problem.isEmpty())
        return fail(problem);
    try {
        Database database(command.options.databasePath);
        const bool queued = database.locked([&](SqliteConnection &db) {
            const std::optional<StoredAccount> account = FindAccount(db, message.logid);
            if (!account)
                return false;
            message.logid = account->logid;
            QueueMessage(db, message);
            return true;
        });
        if (!queued)
            return fail(QStringLiteral("no user ") + message.logid);
        print(stdout, QStringLiteral("queued for ") + message.logid);
        return 0;
    } catch (const SqliteError &error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
}

int RunOnline(const Command &command)
{
    try {
        Database database(command.options.databasePath);
        int period = 60;
        std::vector<Session> sessions;
        database.locked([&](SqliteConnection &db) {
            period = Setting(db, QStringLiteral("period")).value_or(QStringLiteral("60")).toInt();
            sessions = LoadSessions(db);
        });
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        int online = 0;
        for (const Session &session : sessions) {
            if (!IsOnline(session, now, period))
                continue;
            print(stdout, session.logid + QLatin1Char('\t') + session.remoteAddr +
                              QStringLiteral("\tlogin ") + localTime(session.loginAt) +
                              QStringLiteral("\tlast seen ") + localTime(session.lastSeen));
            ++online;
        }
        print(stdout, QString::number(online) + QStringLiteral(" online"));
        return 0;
    } catch (const SqliteError &error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
}
