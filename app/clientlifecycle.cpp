#include "app/clientlifecycle.h"

#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "platform/platform.h"

namespace {

void writeSystemEntry(const TClientServiceInfo &info, const QString &action)
{
    info.Log->Write(TLogInfo::Success, QStringLiteral("系统"), QStringLiteral("本地"), action,
                    QString(), info.IfLog);
}

} // namespace

void StartClient(TClientServiceInfo &info, Platform &platform, const ClientEnvironment &environment)
{
    InitializeClientState(info, environment.appDir, environment.executablePath);
    platform.LookupProxyAndBrowser(info);
    info.ServiceHost = environment.serviceHost;
    info.AutoRunUpdater = [&platform](const TClientServiceInfo &state) {
        platform.UpdateAutoRunEntry(state);
    };
    LoadConfig(info);
    writeSystemEntry(info, QStringLiteral("软件启动"));
    SaveConfig(info);
}

void CloseClient(TClientServiceInfo &info)
{
    SaveConfig(info);
    writeSystemEntry(info, QStringLiteral("软件退出"));
}
