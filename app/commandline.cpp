#include "app/commandline.h"

#include "app/helptext.h"

#include <QCommandLineParser>
#include <QFile>
#include <cstdio>

#ifndef MARBELLO_SERVICE_HOST
#define MARBELLO_SERVICE_HOST "127.0.0.1:8080"
#endif

namespace {

// Far above any password: a wrong file (a log, a program) is refused rather than read whole.
constexpr qint64 kMaxPasswordLineBytes = 4096;

} // namespace

std::optional<QString> ReadPasswordFile(const QString &path)
{
    const bool standardInput = path == QLatin1String("-");
    QFile file(standardInput ? QString() : path);
    const bool opened =
        standardInput ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    const QString name = standardInput ? QStringLiteral("standard input") : path;
    if (!opened) {
        std::fprintf(stderr, "cannot read the password from %s: %s\n", qUtf8Printable(name),
                     qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    QByteArray line;
    char c = 0;
    while (line.size() <= kMaxPasswordLineBytes && file.getChar(&c) && c != '\n')
        line += c;
    if (line.size() > kMaxPasswordLineBytes) {
        std::fprintf(stderr, "the first line of %s is too long for a password\n",
                     qUtf8Printable(name));
        return std::nullopt;
    }
    if (line.isEmpty() && c != '\n') {
        std::fprintf(stderr, "no password in %s\n", qUtf8Printable(name));
        return std::nullopt;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

std::optional<CommandLine> ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Marbello XP, the notification-area client of a web-site publishing service."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption headless(QStringLiteral("headless"),
                                      QStringLiteral("Run without windows and tray."));
    const QCommandLineOption appDir(QStringLiteral("app-dir"),
                                    QStringLiteral("Directory of config.xml, xml/ and log/."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption service(
        QStringLiteral("service"),
        QStringLiteral("Service host, default %1.").arg(QLatin1String(MARBELLO_SERVICE_HOST)),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption logid(QStringLiteral("logid"), QStringLiteral("Log in with this id."),
                                   QStringLiteral("ID"));
    const QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("Password for --logid (visible to other users; prefer --password-file)."),
        QStringLiteral("PW"));
    const QCommandLineOption passwordFile(
        QStringLiteral("password-file"),
        QStringLiteral("Password for --logid: the first line of FILE (\"-\": standard input)."),
        QStringLiteral("FILE"));
    QCommandLineOption splash(QStringLiteral("splash"),
                              QStringLiteral("Show the splash window alone, then end."));
    splash.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({headless, appDir, service, logid, password, passwordFile, splash});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(parser.errorText()));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // The parser names the program only once an application object exists, which is
        // made after the command line is read.
        const QString help = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                       QStringLiteral("marbello"));
        std::fprintf(stdout, "%s%s", qUtf8Printable(help), qUtf8Printable(HelpEpilogue()));
        std::exit(0);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::fprintf(stdout, "%s\n", qUtf8Printable(VersionLine(QStringLiteral("marbello"))));
        std::exit(0);
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "unexpected argument: %s\n",
                     qUtf8Printable(parser.positionalArguments().first()));
        return std::nullopt;
    }
    if (parser.isSet(password) && parser.isSet(passwordFile)) {
        std::fprintf(stderr, "--password and --password-file exclude each other\n");
        return std::nullopt;
    }
    if (parser.isSet(logid) != (parser.isSet(password) || parser.isSet(passwordFile))) {
        std::fprintf(stderr, "--logid and --password (or --password-file) go together\n");
        return std::nullopt;
    }
    std::optional<QString> passwordText = parser.value(password);
    if (parser.isSet(passwordFile) &&
        !(passwordText = ReadPasswordFile(parser.value(passwordFile))))
        return std::nullopt;

    CommandLine line;
    line.headless = parser.isSet(headless);
    line.splashOnly = parser.isSet(splash);
    line.appDir = parser.value(appDir);
    line.serviceHost = QLatin1String(MARBELLO_SERVICE_HOST);
    if (const QString fromEnvironment = qEnvironmentVariable("MARBELLO_SERVICE");
        !fromEnvironment.isEmpty()) {
        line.serviceHost = fromEnvironment;
        line.serviceChosen = true;
    }
    if (parser.isSet(service)) {
        line.serviceHost = parser.value(service);
        line.serviceChosen = true;
    }
    line.hasCredentials = parser.isSet(logid);
    line.logid = parser.value(logid);
    line.password = *passwordText;
    return line;
}
