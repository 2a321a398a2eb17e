#include "headlessprocess.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <csignal>
#include <sys/stat.h>

namespace {

// Start-up takes milliseconds; this only keeps a broken build from hanging the suite.
constexpr int kDeadlineMs = 20000;

} // namespace

ino_t inodeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

QString marbelloExecutable()
{
    return QFileInfo(QStringLiteral(MARBELLO_EXECUTABLE)).canonicalFilePath();
}

HeadlessProcess::HeadlessProcess(const ClientDirs &dirs) : m_dirs(dirs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dirs.runtimeDir);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dirs.configHome);
    for (const char *name : {"http_proxy", "HTTP_PROXY", "MARBELLO_SERVICE"})
        environment.remove(QLatin1String(name));
    // The client speaks Chinese whatever the language of the session running the tests.
    for (const char *name : {"LANGUAGE", "LC_MESSAGES"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(marbelloExecutable());
    m_process.setArguments({QStringLiteral("--headless"), QStringLiteral("--app-dir"), dirs.appDir,
                            QStringLiteral("--service"), QStringLiteral("127.0.0.1:1")});
    QObject::connect(&m_process, &QProcess::readyReadStandardError, [this] { collectOutput(); });
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { collectOutput(); });
}

HeadlessProcess::~HeadlessProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void HeadlessProcess::setEnvironmentVariable(const QString &name, const QString &value)
{
    QProcessEnvironment environment = m_process.processEnvironment();
    environment.insert(name, value);
    m_process.setProcessEnvironment(environment);
}

void HeadlessProcess::setChildModifier(const std::function<void()> &modifier)
{
    m_process.setChildProcessModifier(modifier);
}

QString HeadlessProcess::configPath() const
{
    return m_dirs.appDir + QStringLiteral("/config.xml");
}

void HeadlessProcess::collectOutput()
{
    m_stderr += m_process.readAllStandardError();
    m_stdout += m_process.readAllStandardOutput();
}

void HeadlessProcess::start(const QStringList &extraArguments, const QByteArray &standardInput)
{
    m_configAtStart = inodeOf(configPath());
    m_process.setArguments(m_process.arguments() + extraArguments);
    m_process.start();
    if (!standardInput.isNull()) {
        m_process.write(standardInput);
        m_process.closeWriteChannel();
    }
}

bool HeadlessProcess::waitUntil(const std::function<bool()> &ready)
{
    QEventLoop loop;
    bool timedOut = false;
    const auto check = [&] {
        if (ready() || m_process.state() == QProcess::NotRunning)
            loop.quit();
    };
    QFileSystemWatcher watcher;
    for (const QString &directory : {m_dirs.appDir, m_dirs.appDir + QStringLiteral("/xml"),
                                     m_dirs.configHome + QStringLiteral("/autostart")})
        if (QFileInfo(directory).isDir())
            watcher.addPath(directory);
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, check);
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &loop, check);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &loop, check);
    QObject::connect(&m_process, &QProcess::finished, &loop, check);
    QTimer::singleShot(kDeadlineMs, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    QTimer::singleShot(0, &loop, check);
    loop.exec();
    return !timedOut && ready();
}

bool HeadlessProcess::waitUntilStarted()
{
    return waitUntil([this] {
        const ino_t now = inodeOf(configPath());
        return now != 0 && now != m_configAtStart;
    });
}

bool HeadlessProcess::waitForOutput(const QString &text)
{
    const QByteArray wanted = text.toUtf8();
    return waitUntil([&] { return m_stdout.contains(wanted); });
}

int HeadlessProcess::stop(int signal)
{
    ::kill(pid_t(m_process.processId()), signal);
    return waitForExit();
}

int HeadlessProcess::waitForExit()
{
    // A process that has already ended is not waited for (waitForFinished() would call that a
    // failure).
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kDeadlineMs))
        return -1;
    collectOutput();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
