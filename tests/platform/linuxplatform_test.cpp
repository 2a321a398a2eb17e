#include "core/clientserviceinfo.h"
#include "platform/linux/linuxplatform.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace {

// Sets or clears environment variables for one test and puts the old values back.
class ScopedEnvironment
{
public:
    ScopedEnvironment(std::initializer_list<std::pair<const char *, std::optional<QString>>> values)
    {
        for (const auto &[name, value] : values) {
            m_saved.push_back({name, qEnvironmentVariableIsSet(name)
                                         ? std::optional(qEnvironmentVariable(name))
                                         : std::nullopt});
            set(name, value);
        }
    }
    ~ScopedEnvironment()
    {
        for (const auto &[name, value] : m_saved)
            set(name, value);
    }

private:
    static void set(const char *name, const std::optional<QString> &value)
    {
        if (value)
            qputenv(name, value->toLocal8Bit());
        else
            qunsetenv(name);
    }

    std::vector<std::pair<const char *, std::optional<QString>>> m_saved;
};

QString text(const char *ascii)
{
    return QLatin1String(ascii);
}

} // namespace

TEST(LinuxPlatform, ProxyComesFromHttpProxyThenHTTP_PROXY)
{
    const struct
    {
        std::optional<QString> lower;
        std::optional<QString> upper;
        const char *host;
        qint32 port;
    } cases[] = {
        {text("http://proxy.example:3128/"), std::nullopt, "proxy.example", 3128},
        {text("HTTP://proxy.example:3128"), std::nullopt, "proxy.example", 3128},
        {text("proxy.example:3128/"), std::nullopt, "proxy.example", 3128},
        {std::nullopt, text("10.0.0.1:8080"), "10.0.0.1", 8080},
        {text("lower:1"), text("upper:2"), "lower", 1},
        {QString(), text("upper:2"), "upper", 2},
        {text("http://proxy.example/"), std::nullopt, "", 0},
        {text("proxy.example:port"), std::nullopt, "proxy.example", 0},
        {std::nullopt, std::nullopt, "", 0},
    };
    for (const auto &c : cases) {
        const ScopedEnvironment environment{{"http_proxy", c.lower}, {"HTTP_PROXY", c.upper}};
        TClientServiceInfo info;
        info.ProxyPort = 99;
        LinuxPlatform().LookupProxyAndBrowser(info);
        SCOPED_TRACE(c.lower.value_or(text("-")).toStdString() + " / " +
                     c.upper.value_or(text("-")).toStdString());
        EXPECT_EQ(info.ProxyHost, QLatin1String(c.host));
        EXPECT_EQ(info.ProxyPort, c.port);
        EXPECT_EQ(info.BrowserCommand, text("xdg-open"));
    }
}

TEST(LinuxPlatform, AutostartFileFollowsXdgConfigHome)
{
    {
        const ScopedEnvironment environment{{"XDG_CONFIG_HOME", text("/x/cfg")}};
        EXPECT_EQ(LinuxPlatform::AutostartFilePath(text("/opt/my apps/marbello")),
                  text("/x/cfg/autostart/marbello.desktop"));
    }
    const ScopedEnvironment environment{{"XDG_CONFIG_HOME", std::nullopt},
                                        {"HOME", text("/home/someone")}};
    EXPECT_EQ(LinuxPlatform::AutostartFilePath(text("/usr/bin/marbello")),
              text("/home/someone/.config/autostart/marbello.desktop"));
}

TEST(LinuxPlatform, AutostartEntryIsWrittenQuotedWhereNeededAndRemoved)
{
    TestAppDir configHome;
    const ScopedEnvironment environment{{"XDG_CONFIG_HOME", configHome.path()}};
    const QString entry = text("autostart/marbello.desktop");
    TClientServiceInfo info;
    LinuxPlatform platform;

    info.AutoRun = true;
    info.ExecutablePath = text("/opt/marbello/marbello");
    platform.UpdateAutoRunEntry(info);
    QByteArray written = configHome.read(entry);
    EXPECT_TRUE(written.startsWith("[Desktop Entry]\n")) << written.data();
    EXPECT_TRUE(written.contains("\nType=Application\n"));
    EXPECT_TRUE(written.contains("\nExec=/opt/marbello/marbello\n")) << written.data();

    info.ExecutablePath = text("/opt/my apps/marbello");
    platform.UpdateAutoRunEntry(info);
    written = configHome.read(entry);
    EXPECT_TRUE(written.contains("\nExec=\"/opt/my apps/marbello\"\n")) << written.data();

    info.AutoRun = false;
    platform.UpdateAutoRunEntry(info);
    EXPECT_FALSE(configHome.exists(entry));
    platform.UpdateAutoRunEntry(info); // nothing left to remove
    EXPECT_FALSE(configHome.exists(entry));
}

TEST(LinuxPlatform, SingleInstanceLockIsHeldUntilReleased)
{
    TestAppDir runtime;
    const ScopedEnvironment environment{{"XDG_RUNTIME_DIR", runtime.path()}};
    LinuxPlatform platform;

    auto first = platform.AcquireSingleInstance(text("ClientService"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(runtime.exists(text("ClientService.lock")));
    EXPECT_FALSE(platform.AcquireSingleInstance(text("ClientService")));
    // Another name is another lock.
    EXPECT_TRUE(platform.AcquireSingleInstance(text("OtherService")));

    first.reset();
    EXPECT_TRUE(platform.AcquireSingleInstance(text("ClientService")));
}

TEST(LinuxPlatform, OpenUrlPassesTheAddressAsOneArgumentWithoutAShell)
{
    TestAppDir dir;
    // A stand-in browser that records how many arguments it got and the first one.
    const QString browser = dir.file(text("browser"));
    dir.write(
        text("browser"),
        QByteArrayLiteral("#!/bin/sh\nprintf '%s:%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/url\"\n"));
    ASSERT_TRUE(QFile::setPermissions(browser, QFile::ReadOwner | QFile::ExeOwner));

    TClientServiceInfo info;
    info.BrowserCommand = browser;
    const QString url = text("http://host/p?a=1&b=$(touch pwned);c `id` 'q'");
    LinuxPlatform().OpenURL(info, url);
    int status = 0;
    ASSERT_GT(::waitpid(-1, &status, 0), 0);
    EXPECT_EQ(QString::fromUtf8(dir.read(text("url"))), text("1:") + url);
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(text("pwned"))));
    EXPECT_FALSE(dir.exists(text("pwned")));

    info.BrowserCommand.clear();
    LinuxPlatform().OpenURL(info, url); // no command, no process, no crash
}
