#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine
{
    bool headless = false;
    bool splashOnly = false;    // the tray client's own splash process (--splash, not in --help)
    QString appDir;             // empty: the executable's directory
    QString serviceHost;        // host or host:port
    bool serviceChosen = false; // by --service or MARBELLO_SERVICE, not the built-in default
    QString logid;
    QString password;
    bool hasCredentials = false;
};

// The password of --password-file: the first line of the file at `path`, or of standard input for
// "-", without its line end. On failure prints why to stderr and gives nothing.
std::optional<QString> ReadPasswordFile(const QString &path);

// Parses the arguments; on a usage error prints it to stderr and gives nothing.
// The service host falls back to MARBELLO_SERVICE, then to the built-in default.
std::optional<CommandLine> ParseCommandLine(const QStringList &arguments);
