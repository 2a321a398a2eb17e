#pragma once

#include "platform/platform.h"

// The Windows flavour: converts between the client state's QStrings and the Qt-free core in
// platform/windows/core, which does the work with the registry, process starts and the mutex.
class WindowsPlatform : public Platform
{
public:
    void LookupProxyAndBrowser(TClientServiceInfo &info) override;
    void OpenURL(const TClientServiceInfo &info, const QString &url) override;
    void OpenLogFile(const QString &path) override;
    void UpdateAutoRunEntry(const TClientServiceInfo &info) override;
    std::unique_ptr<SingleInstanceLock> AcquireSingleInstance(const QString &name) override;
};
