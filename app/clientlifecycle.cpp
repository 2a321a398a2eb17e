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
    return QStringLiteral("讯息无法保存，请检查程序目录的权限");
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
        return {false, false, QStringLiteral("请输入用户名及密码")};
    bool newVersion = false;
    const QString message = Login(info, id, secret, newVersion);
    SaveConfig(info);
    return {true, info.State == StateOnline, message};
}

QString ResolveAppDir(const QString &given)
{
    if (!given.isEmpty())
        return given;
    const QString executableDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableDir).isWritable())
        return executableDir;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString appDir = dataHome + QStringLiteral("/marbello");
    QDir().mkpath(appDir);
    return appDir;
}

QString InstalledDataDir()
{
    // A client run from its build tree (or unpacked as a portable copy) has the shipped files
    // beside it.
    const QString executableDir = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(executableDir + QStringLiteral("/offline.ico")))
        return executableDir;
    return QStringLiteral(MARBELLO_DATA_DIR);
}

ClientEnvironment ClientEnvironmentFor(const CommandLine &commandLine)
{
    return {ResolveAppDir(commandLine.appDir), QCoreApplication::applicationFilePath(),
            commandLine.serviceHost, InstalledDataDir()};
}
