#include "platform/windows/windowsplatform.h"

#include "core/clientserviceinfo.h"
#include "platform/windows/core/instancemutex.h"
#include "platform/windows/core/processstart.h"
#include "platform/windows/core/systemsettings.h"

namespace {

class MutexLock : public SingleInstanceLock
{
public:
    explicit MutexLock(std::unique_ptr<wincore::NamedMutex> mutex) : m_mutex(std::move(mutex)) {}

private:
    std::unique_ptr<wincore::NamedMutex> m_mutex;
};

// A path as Windows writes it, with backslashes: Qt hands out forward slashes.
std::wstring nativePath(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\')).toStdWString();
}

} // namespace

void WindowsPlatform::LookupProxyAndBrowser(TClientServiceInfo &info)
{
    const wincore::ProxyAndBrowser found = wincore::LookupProxyAndBrowser();
    info.ProxyHost = QString::fromStdWString(found.proxyHost);
    info.ProxyPort = found.proxyPort;
    info.BrowserCommand = QString::fromStdWString(found.browserCommand);
}

void WindowsPlatform::OpenURL(const TClientServiceInfo &info, const QString &url)
{
    wincore::OpenURL(info.BrowserCommand.toStdWString(), url.toStdWString());
}

void WindowsPlatform::OpenLogFile(const QString &path)
{
    wincore::OpenLogFile(nativePath(path));
}

void WindowsPlatform::UpdateAutoRunEntry(const TClientServiceInfo &info)
{
    wincore::UpdateAutoRunEntry(nativePath(info.ExecutablePath), info.AutoRun);
}

std::unique_ptr<SingleInstanceLock> WindowsPlatform::AcquireSingleInstance(const QString &name)
{
    std::unique_ptr<wincore::NamedMutex> mutex = wincore::AcquireNamedMutex(name.toStdWString());
    if (!mutex)
        return nullptr;
    return std::make_unique<MutexLock>(std::move(mutex));
}
