#pragma once

#include <QString>
#include <memory>

class TClientServiceInfo;

// Held for the life of the process; releasing it lets another copy start.
class SingleInstanceLock
{
public:
    virtual ~SingleInstanceLock() = default;
};

// What the client needs of the operating system, behind one interface with one backend per OS.
class Platform
{
public:
    virtual ~Platform() = default;

    // The backend of the system the client was built for.
    static Platform &current();

    // Fills ProxyHost, ProxyPort and BrowserCommand; called once at start.
    virtual void LookupProxyAndBrowser(TClientServiceInfo &info) = 0;
    // Starts the browser command with `url` (http and https addresses only, see WebAddress); the
    // outcome is not awaited.
    virtual void OpenURL(const TClientServiceInfo &info, const QString &url) = 0;
    // Shows the activity log in the system's viewer; a missing file opens nothing.
    virtual void OpenLogFile(const QString &path) = 0;
    // Adds or removes the start-at-logon entry to follow AutoRun.
    virtual void UpdateAutoRunEntry(const TClientServiceInfo &info) = 0;
    // Nothing when another copy already holds the lock called `name`.
    virtual std::unique_ptr<SingleInstanceLock> AcquireSingleInstance(const QString &name) = 0;
};
