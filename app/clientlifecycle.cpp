#include "app/clientlifecycle.h"

#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "platform/platform.h"
#include "protocol/login.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

void writeSystemEntry(const TClientServiceInfo &info, const QString &action)
{
    info.Log->Write(TLogInfo::Success, QStringLiteral("系统"), QStringLiteral("本地"), action,
                    QString(), info.IfLog);
}

} // namespace

void InitializeClient(TClientServiceInfo &info, Platform &platform,
                      const ClientEnvironment &environment)
{
    InitializeClientState(info, environment.appDir, environment.executablePath);
    platform.LookupProxyAndBrowser(info);
    info.ServiceHost = environment.serviceHost;
    info.ShippedDataDir = environment.shippedDataDir;
    info.LaunchArguments = environment.launchArguments;
    info.AutoRunUpdater = [&platform](const TClientServiceInfo &state) {
        platform.UpdateAutoRunEntry(state);
    };
}

void LoadAndRewriteConfig(TClientServiceInfo &info)
{
    LoadConfig(info);
    writeSystemEntry(info, QStringLiteral("软件启动"));
    SaveConfig(info);
}

void StartClient(TClientServiceInfo &info, Platform &platform, const ClientEnvironment &environment)
{
    InitializeClient(info, platform, environment);
    LoadAndRewriteConfig(info);
}

QString StoreTroubleNotice()
{
    return QCoreApplication::translate("ClientLifecycle", "讯息无法保存，请检查程序目录的权限");
}

void CloseClient(TClientServiceInfo &info)
{
    SaveConfig(info);
    writeSystemEntry(info, QStringLiteral("软件退出"));
}

CredentialsLogin LoginWithCredentials(TClientServiceInfo &info, const QString &logid,
                                      const QString &password)
{
    const QString id = logid.trimmed();
    const QString secret = password.trimmed();
    if (id.isEmpty() || secret.isEmpty())
        return {false, false, QCoreApplication::translate("ClientLifecycle", "请输入用户名及密码")};
    bool newVersion = false;
    const QString message = Login(info, id, secret, newVersion);
    SaveConfig(info);
    return {true, info.State == StateOnline, message};
}

bool HasShippedFilesBeside(const QString &executableDir)
{
    return QFileInfo::exists(executableDir + QStringLiteral("/offline.ico"));
}

QString ResolveAppDir(const QString &given, const QString &executableDir)
{
    if (!given.isEmpty())
        return given;
    // Only a portable copy or the build tree keeps its files beside the program. An installed
    // client must not, even when it could (root can write to /usr/bin).
    if (HasShippedFilesBeside(executableDir) && QFileInfo(executableDir).isWritable())
        return executableDir;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString appDir = dataHome + QStringLiteral("/marbello");
    QDir().mkpath(appDir);
    return appDir;
}

QString InstalledDataDir()
{
    const QString executableDir = QCoreApplication::applicationDirPath();
    if (HasShippedFilesBeside(executableDir))
        return executableDir;
    return QStringLiteral(MARBELLO_DATA_DIR);
}

QStringList LaunchArgumentsFor(const CommandLine &commandLine)
{
    // A client started at logon must find the same files and the same service. Its working
    // directory is not this one, so the directory goes in whole; the service also when it came
    // from the environment, which a logon session does not share.
    QStringList arguments;
    if (!commandLine.appDir.isEmpty())
        arguments << QStringLiteral("--app-dir")
                  << QFileInfo(commandLine.appDir).absoluteFilePath();
    if (commandLine.serviceChosen)
        arguments << QStringLiteral("--service") << commandLine.serviceHost;
    return arguments;
}

ClientEnvironment ClientEnvironmentFor(const CommandLine &commandLine)
{
    return {ResolveAppDir(commandLine.appDir, QCoreApplication::applicationDirPath()),
            QCoreApplication::applicationFilePath(), commandLine.serviceHost, InstalledDataDir(),
            LaunchArgumentsFor(commandLine)};
}
