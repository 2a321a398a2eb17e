#pragma once

#include "platform/platform.h"

#include <QStringList>
#include <sys/types.h>
#include <vector>

// The freedesktop.org flavour: proxy from http_proxy, xdg-open as the browser, an XDG autostart
// file for start at logon, and an flock()ed file in the runtime directory as the instance lock.
class LinuxPlatform : public Platform
{
public:
    void LookupProxyAndBrowser(TClientServiceInfo &info) override;
    void OpenURL(const TClientServiceInfo &info, const QString &url) override;
    void UpdateAutoRunEntry(const TClientServiceInfo &info) override;
    void OpenLogFile(const QString &path) override;
    std::unique_ptr<SingleInstanceLock> AcquireSingleInstance(const QString &name) override;

    // $XDG_CONFIG_HOME/autostart/<executable name>.desktop.
    static QString AutostartFilePath(const QString &executablePath);

private:
    void spawn(const QStringList &words);

    // Browsers started earlier, reaped as they end so that none lingers as a zombie.
    std::vector<pid_t> m_children;
};
