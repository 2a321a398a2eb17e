#include "app/commandline.h"

#include <QCommandLineParser>
#include <cstdio>

#ifndef MARBELLO_SERVICE_HOST
#define MARBELLO_SERVICE_HOST "127.0.0.1:8080"
#endif

std::optional<CommandLine> ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Marbello XP client"));
    parser.addHelpOption();
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
        QStringLiteral("password"), QStringLiteral("Password for --logid."), QStringLiteral("PW"));
    parser.addOptions({headless, appDir, service, logid, password});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(parser.errorText()));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fprintf(stdout, "%s", qUtf8Printable(parser.helpText()));
        std::exit(0);
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "unexpected argument: %s\n",
                     qUtf8Printable(parser.positionalArguments().first()));
        return std::nullopt;
    }
    if (parser.isSet(logid) != parser.isSet(password)) {
        std::fprintf(stderr, "--logid and --password go together\n");
        return std::nullopt;
    }

    CommandLine line;
    line.headless = parser.isSet(headless);
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
    line.password = parser.value(password);
    return line;
}
