#include "platform/windows/core/processstart.h"

#include "platform/windows/core/textrules.h"

#include <utility>

// shellapi.h builds on windows.h.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

namespace wincore {

StartedProcess::StartedProcess(StartedProcess &&other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{}

StartedProcess &StartedProcess::operator=(StartedProcess &&other) noexcept
{
    std::swap(m_handle, other.m_handle);
    return *this;
}

StartedProcess::~StartedProcess()
{
    if (m_handle)
        ::CloseHandle(m_handle);
}

bool StartedProcess::waitForExit(unsigned long milliseconds) const
{
    return m_handle && ::WaitForSingleObject(m_handle, milliseconds) == WAIT_OBJECT_0;
}

StartedProcess StartCommandLine(const std::wstring &commandLine, int showMode)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(showMode);
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line it is given.
    std::wstring writable = commandLine;
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return StartedProcess();
    ::CloseHandle(process.hThread);
    return StartedProcess(process.hProcess);
}

StartedProcess OpenURL(const std::wstring &browserCommand, const std::wstring &url)
{
    const std::optional<std::wstring> address = WebAddress(url);
    if (!address)
        return StartedProcess();
    const std::wstring argument = CommandLineAddress(*address);
    if (!browserCommand.empty())
        return StartCommandLine(QuotedProgram(browserCommand) + L" " + argument, kShowRestore);

    // Some handlers of addresses are COM objects; the caller's thread may not have COM yet.
    const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"open";
    execute.lpFile = argument.c_str();
    execute.nShow = kShowRestore;
    const bool opened = ::ShellExecuteExW(&execute);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return StartedProcess(opened ? execute.hProcess : nullptr);
}

StartedProcess OpenLogFile(const std::wstring &path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return StartedProcess();
    return StartCommandLine(L"notepad " + QuotedWhenBlank(path), kShowNormal);
}

} // namespace wincore
