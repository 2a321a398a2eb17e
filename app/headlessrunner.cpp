#include "app/headlessrunner.h"

#include "app/clientlifecycle.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"
#include "platform/terminationsignals.h"
#include "protocol/keepalive.h"
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
    printLine(info.State == StateOnline
                  ? QCoreApplication::translate("Headless", "登录成功") + message
                  : QCoreApplication::translate("Headless", "登录失败: ") + message);
}

} // namespace

int RunHeadless(TClientServiceInfo &info, const CommandLine &commandLine)
{
    TerminationSignals termination;
    StartClient(info, Platform::current(), ClientEnvironmentFor(commandLine));
    const int stateReport = info.State.observe(
        [](quint8 state) { printLine(QStringLiteral("state: ") + stateName(state)); });
    BindKeepAliveTimer(info);
    info.StoreFailures.observe([](const QString &cause) {
        std::fprintf(stderr, "%s (%s)\n", qUtf8Printable(StoreTroubleNotice()),
                     qUtf8Printable(cause));
    });

    // The closing steps run once the loops have unwound, after any exchange that was waiting.
    bool quitRequested = false;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] {
        quitRequested = true;
        info.State.unobserve(stateReport);
        QCoreApplication::exit(0);
    });

    StartupAutoLogin autoLogin(info);
    QObject::connect(&autoLogin, &StartupAutoLogin::attempted,
                     [&info](const QString &message) { printLoginOutcome(info, message); });
    int status = 0;
    if (commandLine.hasCredentials) {
        const CredentialsLogin login =
            LoginWithCredentials(info, commandLine.logid, commandLine.password);
        if (login.sent)
            printLoginOutcome(info, login.message);
        else
            printLine(login.message);
        // A login ended by a signal is a normal end, not a failed login.
        if (!login.online && !quitRequested)
            status = 1;
    } else if (info.AutoLogin)
        autoLogin.start();
    // A signal that came during the start-up login has already asked the loop to end.
    if (status == 0 && !quitRequested)
        status = QCoreApplication::exec();
    CloseClient(info);
    return status;
}
