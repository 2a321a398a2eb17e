#include "app/headlessrunner.h"

#include "app/clientlifecycle.h"
#include "app/terminationsignals.h"
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "platform/platform.h"
#include "protocol/keepalive.h"
#include "protocol/login.h"
#include "protocol/startupautologin.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void printLine(const QString &line)
{
    std::fputs(qUtf8Printable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QString stateName(quint8 state)
{
    switch (state) {
    case StateOnline:
        return QStringLiteral("online");
    case StateConnectionLost:
        return QStringLiteral("connection lost");
    default:
        return QStringLiteral("offline");
    }
}

void printLoginOutcome(const TClientServiceInfo &info, const QString &message)
{
    printLine(info.State == StateOnline ? QStringLiteral("登录成功") + message
                                        : QStringLiteral("登录失败: ") + message);
}

// As the login dialog's button: trimmed texts, nothing sent when either is empty. False when the
// client is not online afterwards.
bool loginByHand(TClientServiceInfo &info, const CommandLine &commandLine)
{
    const QString id = commandLine.logid.trimmed();
    const QString password = commandLine.password.trimmed();
    if (id.isEmpty() || password.isEmpty()) {
        printLine(QStringLiteral("请输入用户名及密码"));
        return false;
    }
    bool newVersion = false;
    const QString message = Login(info, id, password, newVersion);
    printLoginOutcome(info, message);
    SaveConfig(info);
    return info.State == StateOnline;
}

} // namespace

int RunHeadless(TClientServiceInfo &info, const CommandLine &commandLine)
{
    TerminationSignals termination;
    const QString executable = QCoreApplication::applicationFilePath();
    const QString appDir =
        commandLine.appDir.isEmpty() ? QCoreApplication::applicationDirPath() : commandLine.appDir;
    StartClient(info, Platform::current(), {appDir, executable, commandLine.serviceHost});
    info.State.setOnChange(
        [](quint8 state) { printLine(QStringLiteral("state: ") + stateName(state)); });
    BindKeepAliveTimer(info);

    // The closing steps run once the loops have unwound, after any exchange that was waiting.
    bool quitRequested = false;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] {
        quitRequested = true;
        info.State.setOnChange({});
        QCoreApplication::exit(0);
    });

    StartupAutoLogin autoLogin(info);
    QObject::connect(&autoLogin, &StartupAutoLogin::attempted,
                     [&info](const QString &message) { printLoginOutcome(info, message); });
    int status = 0;
    // A login ended by a signal is a normal end, not a failed login.
    if (commandLine.hasCredentials && !loginByHand(info, commandLine) && !quitRequested)
        status = 1;
    else if (!commandLine.hasCredentials && info.AutoLogin)
        autoLogin.start();
    // A signal that came during the start-up login has already asked the loop to end.
    if (status == 0 && !quitRequested)
        status = QCoreApplication::exec();
    CloseClient(info);
    return status;
}
