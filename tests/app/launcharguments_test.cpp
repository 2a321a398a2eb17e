#include "app/clientlifecycle.h"
#include "app/commandline.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList launchArgumentsOf(const QStringList &arguments, const QByteArray &environment = {})
{
    environment.isNull() ? qunsetenv("MARBELLO_SERVICE") : qputenv("MARBELLO_SERVICE", environment);
    const std::optional<CommandLine> line =
        ParseCommandLine(QStringList(QStringLiteral("marbello")) + arguments);
    qunsetenv("MARBELLO_SERVICE");
    return line ? LaunchArgumentsFor(*line) : QStringList(QStringLiteral("usage error"));
}

} // namespace

TEST(LaunchArguments, TheLogonEntryStartsTheClientThatWasStarted)
{
    const QString service = QStringLiteral("--service");
    const QString appDir = QStringLiteral("--app-dir");
    // The built-in service and the executable's own directory need nothing.
    EXPECT_EQ(launchArgumentsOf({}), QStringList());
    EXPECT_EQ(launchArgumentsOf({QStringLiteral("--headless")}), QStringList());
    // A relative directory would be read against another working directory at logon.
    EXPECT_EQ(launchArgumentsOf({appDir, QStringLiteral("data dir")}),
              QStringList({appDir, QDir::current().absoluteFilePath(QStringLiteral("data dir"))}));
    EXPECT_EQ(
        launchArgumentsOf(
            {appDir, QStringLiteral("/srv/m"), service, QStringLiteral("example.cn:81")}),
        QStringList({appDir, QStringLiteral("/srv/m"), service, QStringLiteral("example.cn:81")}));
    // A logon session does not have the shell's environment, so a service named there goes in.
    EXPECT_EQ(launchArgumentsOf({}, "env.example"),
              QStringList({service, QStringLiteral("env.example")}));
    EXPECT_EQ(launchArgumentsOf({service, QStringLiteral("flag.example")}, "env.example"),
              QStringList({service, QStringLiteral("flag.example")}));
}
