#include "service/commandline.h"

#include "core/clientserviceinfo.h"

#include <QHash>

namespace {

struct OptionRule
{
    const char *name;
    QString *target;
};

bool parseListen(const QString &value, ServiceOptions &options)
{
    const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = value.sliced(colon + 1).toInt(&ok);
    if (colon <= 0 || !ok || port < 0 || port > 65535)
        return false;
    options.host = value.first(colon).toStdString();
    options.port = port;
    return true;
}

// Takes "--name value" and "--name=value" from the arguments after the subcommand; the rest are
// positional.
bool takeOptions(const QStringList &arguments, qsizetype from, const QList<OptionRule> &options,
                 QStringList &positional, QString &error)
{
    for (qsizetype i = from; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(QStringLiteral("--"))) {
            positional << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = argument.sliced(2, (equals < 0 ? argument.size() : equals) - 2);
        const OptionRule *rule = nullptr;
        for (const OptionRule &option : options) {
            if (name == QLatin1String(option.name))
                rule = &option;
        }
        if (!rule) {
            error = QStringLiteral("unknown option ") + argument;
            return false;
        }
        if (equals >= 0) {
            *rule->target = argument.sliced(equals + 1);
        } else if (i + 1 < arguments.size()) {
            *rule->target = arguments[++i];
        } else {
            error = QStringLiteral("option ") + argument + QStringLiteral(" needs a value");
            return false;
        }
    }
    return true;
}

void parseServe(const QStringList &arguments, qsizetype from, Command &command)
{
    QString listen, database, period, publicHost;
    QStringList positional;
    if (!takeOptions(arguments, from,
                     {{"listen", &listen},
                      {"db", &database},
                      {"period", &period},
                      {"public-host", &publicHost}},
                     positional, command.error))
        return;
    if (!positional.isEmpty()) {
        command.error = QStringLiteral("unexpected argument ") + positional.first();
        return;
    }
    if (!listen.isEmpty() && !parseListen(listen, command.options)) {
        command.error = QStringLiteral("--listen wants HOST:PORT");
        return;
    }
    if (!period.isEmpty()) {
        bool ok = false;
        command.options.periodSeconds = period.toInt(&ok);
        if (!ok || command.options.periodSeconds < 1 || command.options.periodSeconds > 86400) {
            command.error = QStringLiteral("--period wants a number of seconds from 1 to 86400");
            return;
        }
    }
    if (!database.isEmpty())
        command.options.databasePath = database;
    command.options.publicHost = publicHost;
}

void parseAdministration(const QStringList &arguments, Command &command, int wantedPositional)
{
    QString database;
    QStringList positional;
    QList<OptionRule> options{{"db", &database}};
    if (command.kind == CommandKind::PostMessage) {
        options << OptionRule{"from", &command.message.fromLogid}
                << OptionRule{"from-ip", &command.message.fromIp}
                << OptionRule{"comment", &command.message.comment}
                << OptionRule{"posted", &command.message.postDateTime};
    }
    if (!takeOptions(arguments, 1, options, positional, command.error))
        return;
    if (positional.size() != wantedPositional) {
        command.error = arguments.first() + QStringLiteral(" wants ") +
                        QString::number(wantedPositional) + QStringLiteral(" argument(s)");
        return;
    }
    if (!database.isEmpty())
        command.options.databasePath = database;
    if (command.kind == CommandKind::AddUser) {
        command.logid = positional[0];
        command.password = positional[1];
    } else if (command.kind == CommandKind::PostMessage) {
        command.message.logid = positional[0];
        if (command.message.fromLogid.isEmpty() || command.message.fromIp.isEmpty() ||
            command.message.comment.isEmpty())
            command.error = QStringLiteral("post-message wants --from, --from-ip and --comment");
    }
}

} // namespace

Command ParseCommandLine(const QStringList &arguments)
{
    Command command;
    // Help only in the first two places, so that a comment text "-h" stays a comment.
    const auto isHelp = [](const QString &argument) {
        return argument == QLatin1String("--help") || argument == QLatin1String("-h");
    };
    if (isHelp(arguments.value(0)) || isHelp(arguments.value(1))) {
        command.kind = CommandKind::Help;
        return command;
    }
    if (arguments.value(0) == QLatin1String("--version")) {
        command.kind = CommandKind::Version;
        return command;
    }
    const QString first = arguments.value(0);
    const QHash<QString, std::pair<CommandKind, int>> subcommands{
        {QStringLiteral("add-user"), {CommandKind::AddUser, 2}},
        {QStringLiteral("post-message"), {CommandKind::PostMessage, 1}},
        {QStringLiteral("online"), {CommandKind::Online, 0}},
    };
    if (subcommands.contains(first)) {
        command.kind = subcommands[first].first;
        parseAdministration(arguments, command, subcommands[first].second);
    } else {
        parseServe(arguments, first == QLatin1String("serve") ? 1 : 0, command);
    }
    return command;
}

QString UsageText()
{
    // One line per synopsis: the manual page is made from this text.
    return QStringLiteral(
        R"(Usage: marbello-service [serve] [--listen HOST:PORT] [--period SECONDS] [--public-host HOST] [--db PATH]
  or:  marbello-service add-user ID PASSWORD [--db PATH]
  or:  marbello-service post-message TO_ID --from ID --from-ip IP --comment TEXT [--posted DATETIME] [--db PATH]
  or:  marbello-service online [--db PATH]
  or:  marbello-service --help | --version

The reference implementation of the Marbello XP service. Without a command, or with serve, it
runs the service until SIGINT or SIGTERM; the other commands administer its database and may
run while the service runs on the same file.

Commands:
  serve                  run the service (the default)
  add-user ID PASSWORD   create an account (ID: 3-12 letters, digits, - or _; PASSWORD: 3-12
                         characters)
  post-message TO_ID     queue a message for TO_ID; it goes out with TO_ID's next keep-alive
  online                 list the users who are online now

Options:
  --listen HOST:PORT     where the service listens (default 127.0.0.1:8080)
  --period SECONDS       keep-alive period handed to clients, 1 to 86400 (default 60); a user
                         counts as offline after three periods without a keep-alive
  --public-host HOST[:PORT]
                         host written into users' addresses (default: the Host line of the
                         login request, with the listening port)
  --db PATH              the database (default marbello-service.db in the current directory)
  --from ID              post-message: the sender's id
  --from-ip IP           post-message: the sender's address
  --comment TEXT         post-message: the message
  --posted DATETIME      post-message: when it was posted, yyyy-MM-dd HH:mm:ss (default now)
  -h, --help             show this help and end
  --version              show the version and end

Files:
  PATH                   the SQLite database (WAL mode; PATH-wal and PATH-shm lie beside it) of
                         the accounts, sites, sessions and queued messages
  /var/lib/marbello-service/marbello-service.db
                         the database of the system service, marbello-service.service
  /etc/default/marbello-service
                         the system service's address, period and further options

Exit status:
  0  done (the service: ended by SIGINT or SIGTERM)
  1  refused or failed
  2  command line not understood
)");
}

QString VersionText()
{
    return QStringLiteral("marbello-service ") +
           QString::number(TClientServiceInfo::kClientVersion) + QLatin1Char('\n');
}
