#include "platform/windows/core/consoleclose.h"

#include <mutex>
#include <windows.h>

namespace wincore {

namespace {

std::mutex g_lock;
std::function<void()> g_onRequest;
// Set when the watch ends: the closing steps are done and a close, logoff or shutdown may go on.
// One for the process, as a handler may still wait on it after the watch has gone.
HANDLE closingDone()
{
    static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

BOOL WINAPI onConsoleControl(DWORD event)
{
    {
        const std::lock_guard lock(g_lock);
        if (!g_onRequest)
            return FALSE;
        g_onRequest();
    }
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::WaitForSingleObject(closingDone(), INFINITE);
    return TRUE;
}

} // namespace

ConsoleCloseWatch::ConsoleCloseWatch(std::function<void()> onRequest)
{
    const std::lock_guard lock(g_lock);
    g_onRequest = std::move(onRequest);
    ::ResetEvent(closingDone());
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

ConsoleCloseWatch::~ConsoleCloseWatch()
{
    ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
    const std::lock_guard lock(g_lock);
    g_onRequest = nullptr;
    ::SetEvent(closingDone());
}

} // namespace wincore
