#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

// The directories one client run may touch: the app directory, the runtime directory of the
// instance lock, and the config home that holds the start-at-logon entry.
struct ClientDirs
{
    QString appDir;
    QString runtimeDir;
    QString configHome;
};

// One run of the real `marbello --headless` executable, by default against a service that never
// answers.
class HeadlessProcess
{
public:
    explicit HeadlessProcess(const ClientDirs &dirs);
    ~HeadlessProcess();

    // Runs in the child between fork and exec (only async-signal-safe calls).
    void setChildModifier(const std::function<void()> &modifier);
    void setEnvironmentVariable(const QString &name, const QString &value);

    // Extra arguments go after the defaults, so a later --service wins. `standardInput`, when
    // given, is what the client reads on its standard input, which then ends.
    void start(const QStringList &extraArguments = {}, const QByteArray &standardInput = {});
    // Waits (in the event loop, up to a generous deadline) until `ready` holds, checking it
    // whenever the app directory or an existing autostart directory changes, or the process
    // writes to stderr or ends. False when it does not come to hold.
    bool waitUntil(const std::function<bool()> &ready);
    // Start-up is done once config.xml has been replaced (or created).
    bool waitUntilStarted();
    // Waits until standard output has shown `text` (UTF-8).
    bool waitForOutput(const QString &text);
    // Sends `signal` and waits for the end; the exit status, or -1 when it did not exit normally.
    int stop(int signal);
    int waitForExit();

    QByteArray standardError() const { return m_stderr; }
    QString standardOutput() const { return QString::fromUtf8(m_stdout); }
    QString configPath() const;

private:
    void collectOutput();

    ClientDirs m_dirs;
    QProcess m_process;
    QByteArray m_stderr;
    QByteArray m_stdout;
    ino_t m_configAtStart = 0;
};

// The inode of `path`, 0 when there is none: a file replaced by rename gets a new one.
ino_t inodeOf(const QString &path);

// The marbello executable under test, as the client itself sees its path.
QString marbelloExecutable();
