#include "platform/linux/linuxplatform.h"

#include "core/clientserviceinfo.h"
#include "core/savefile.h"
#include "platform/linux/desktopexec.h"
#include "platform/proxysetting.h"
#include "platform/webaddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

class FileLock : public SingleInstanceLock
{
public:
    explicit FileLock(int fd) : m_fd(fd) {}
    ~FileLock() override { ::close(m_fd); }

private:
    int m_fd;
};

QString environment(const char *name)
{
    return qEnvironmentVariable(name);
}

// The lower-case name first, as every tool reads these.
QString eitherCase(const char *lower, const char *upper)
{
    const QString value = environment(lower);
    return value.isEmpty() ? environment(upper) : value;
}

} // namespace

Platform &Platform::current()
{
    static LinuxPlatform platform;
    return platform;
}

void LinuxPlatform::LookupProxyAndBrowser(TClientServiceInfo &info)
{
    const QString entry = eitherCase("http_proxy", "HTTP_PROXY");
    QString problem;
    const ProxySetting proxy = ParseProxyUrl(entry, &problem);
    // The value itself may hold a password, so only the reason is shown.
    if (!problem.isEmpty())
        qWarning("http_proxy is not used: %s", qUtf8Printable(problem));
    info.ProxyHost = proxy.host;
    info.ProxyPort = proxy.port;
    info.ProxyCredentials = proxy.credentials;
    info.ProxyBypass = ParseNoProxy(eitherCase("no_proxy", "NO_PROXY"));
    info.BrowserCommand = QStringLiteral("xdg-open");
}

void LinuxPlatform::OpenURL(const TClientServiceInfo &info, const QString &url)
{
    const std::optional<QString> address = WebAddress(url);
    if (!address)
        return;
    QStringList words = QProcess::splitCommand(info.BrowserCommand);
    if (words.isEmpty())
        return;
    spawn(words << *address);
}

void LinuxPlatform::OpenLogFile(const QString &path)
{
    if (QFileInfo(path).isFile())
        spawn({QStringLiteral("xdg-open"), path});
}

void LinuxPlatform::spawn(const QStringList &words)
{
    std::erase_if(m_children, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });

    // An argv, never a shell: each word reaches the program as one argument, whatever it holds.
    std::vector<QByteArray> storage;
    for (const QString &word : words)
        storage.push_back(QFile::encodeName(word));
    std::vector<char *> argv;
    for (QByteArray &word : storage)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv.front(), nullptr, nullptr, argv.data(), environ) == 0)
        m_children.push_back(pid);
}

QString LinuxPlatform::AutostartFilePath(const QString &executablePath)
{
    QString configHome = environment("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/autostart/") + QFileInfo(executablePath).fileName() +
           QStringLiteral(".desktop");
}

void LinuxPlatform::UpdateAutoRunEntry(const TClientServiceInfo &info)
{
    const QString path = AutostartFilePath(info.ExecutablePath);
    if (!info.AutoRun) {
        QFile::remove(path);
        return;
    }
    const QByteArray entry =
        QByteArrayLiteral("[Desktop Entry]\nType=Application\n"
                          "Name=Marbello XP\nExec=") +
        DesktopExecLine(QStringList(info.ExecutablePath) + info.LaunchArguments).toUtf8() +
        QByteArrayLiteral("\nX-GNOME-Autostart-enabled=true\n");
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == entry)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    SaveFileAtomically(path, entry);
}

std::unique_ptr<SingleInstanceLock> LinuxPlatform::AcquireSingleInstance(const QString &name)
{
    // The runtime directory when it is usable, else a per-user file in /tmp.
    QStringList paths;
    if (const QString runtime = environment("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        paths << runtime + QLatin1Char('/') + name + QStringLiteral(".lock");
    paths << QStringLiteral("/tmp/%1-%2.lock").arg(name).arg(::getuid());
    for (const QString &path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return std::make_unique<FileLock>(fd);
        ::close(fd);
        return nullptr;
    }
    // Without any place for a lock, running unguarded beats refusing to run at all.
    qWarning("no single-instance lock could be created");
    return std::make_unique<SingleInstanceLock>();
}
