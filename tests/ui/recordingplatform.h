#pragma once

#include "platform/platform.h"

#include <QStringList>
#include <functional>

// A platform that opens nothing: it records the addresses the client asks it to open, and lets a
// test look at the client at that moment.
class RecordingPlatform : public Platform
{
public:
    void LookupProxyAndBrowser(TClientServiceInfo &) override {}
    void OpenURL(const TClientServiceInfo &, const QString &url) override
    {
        opened.append(url);
        if (onOpen)
            onOpen(url);
    }
    void OpenLogFile(const QString &) override {}
    void UpdateAutoRunEntry(const TClientServiceInfo &) override {}
    std::unique_ptr<SingleInstanceLock> AcquireSingleInstance(const QString &) override
    {
        return nullptr;
    }

    QStringList opened;
    std::function<void(const QString &)> onOpen;
};
