#include "tests/platform/windowscorestandin.h"

#include "platform/windows/core/consoleclose.h"
#include "platform/windows/core/instancemutex.h"
#include "platform/windows/core/processstart.h"

WindowsCoreStandIn &WindowsCoreStandIn::instance()
{
    static WindowsCoreStandIn standIn;
    return standIn;
}

namespace wincore {

ProxyAndBrowser LookupProxyAndBrowser()
{
    return WindowsCoreStandIn::instance().lookup;
}

AutoRunOutcome UpdateAutoRunEntry(const std::wstring &executablePath, bool autoRun)
{
    WindowsCoreStandIn::instance().autoRunPath = executablePath;
    WindowsCoreStandIn::instance().autoRunOn = autoRun;
    return AutoRunOutcome::Updated;
}

StartedProcess::StartedProcess(StartedProcess &&) noexcept = default;
StartedProcess::~StartedProcess() = default;

StartedProcess OpenURL(const std::wstring &browserCommand, const std::wstring &url)
{
    WindowsCoreStandIn::instance().openedBrowser = browserCommand;
    WindowsCoreStandIn::instance().openedUrl = url;
    return StartedProcess();
}

StartedProcess OpenLogFile(const std::wstring &path)
{
    WindowsCoreStandIn::instance().openedLog = path;
    return StartedProcess();
}

// The handle is the name, for the stand-in's set of held mutexes.
NamedMutex::~NamedMutex()
{
    WindowsCoreStandIn::instance().heldMutexes.erase(*static_cast<std::wstring *>(m_handle));
    delete static_cast<std::wstring *>(m_handle);
}

std::unique_ptr<NamedMutex> AcquireNamedMutex(const std::wstring &name)
{
    if (!WindowsCoreStandIn::instance().heldMutexes.insert(name).second)
        return nullptr;
    return std::make_unique<NamedMutex>(new std::wstring(name));
}

ConsoleCloseWatch::ConsoleCloseWatch(std::function<void()> onRequest)
{
    WindowsCoreStandIn::instance().consoleRequest = std::move(onRequest);
}

ConsoleCloseWatch::~ConsoleCloseWatch()
{
    WindowsCoreStandIn::instance().consoleRequest = nullptr;
}

} // namespace wincore
