#include "core/clientserviceinfo.h"

#include "core/passwordscrambler.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

QString TClientServiceInfo::serviceUrl(const QString &path) const
{
    return QStringLiteral("http://") + ServiceHost + path;
}

QString TClientServiceInfo::shippedPath(const QString &relative) const
{
    const QString local = dataPath(relative);
    if (ShippedDataDir.isEmpty() || QFileInfo::exists(local))
        return local;
    const QString installed = QDir(ShippedDataDir).filePath(relative);
    return QFileInfo::exists(installed) ? installed : local;
}

void InitializeClientState(TClientServiceInfo &info, const QString &appDir,
                           const QString &executablePath)
{
    info.AppPath = QDir(appDir).absolutePath();
    if (!info.AppPath.endsWith(QLatin1Char('/')))
        info.AppPath += QLatin1Char('/');
    info.ExecutablePath = executablePath;
    info.PasswordKey = PasswordScrambler::KeyFor(executablePath);
    info.ClientVersion = TClientServiceInfo::kClientVersion;
    info.KeepAliveTimer = std::make_unique<IntervalTimer>();
    info.Log = std::make_unique<TLogInfo>(info.dataPath(QStringLiteral("log/log.txt")));
    info.State = StateOffline;
    info.TimerBusy = false;
}

int KeepAliveIntervalMs(const TClientServiceInfo &info)
{
    const qint64 milliseconds = qint64(info.ClientPromptOnlineSeconds) * 1000;
    return int(qBound<qint64>(0, milliseconds, qint64(std::numeric_limits<int>::max())));
}

void StartKeepAliveTimer(TClientServiceInfo &info)
{
    info.KeepAliveTimer->setInterval(KeepAliveIntervalMs(info));
    info.KeepAliveTimer->setEnabled(true);
}

void StopKeepAliveTimer(TClientServiceInfo &info)
{
    info.KeepAliveTimer->setEnabled(false);
}
