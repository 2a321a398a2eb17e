#pragma once

#include <string>

namespace wincore {

// A process the client started, or none. The client never waits for one; the handle is only
// there so that a caller who wants to can.
class StartedProcess
{
public:
    StartedProcess() = default;
    explicit StartedProcess(void *handle) : m_handle(handle) {}
    StartedProcess(StartedProcess &&other) noexcept;
    StartedProcess &operator=(StartedProcess &&other) noexcept;
    ~StartedProcess();

    bool started() const { return m_handle != nullptr; }
    // True when the process ended within `milliseconds`.
    bool waitForExit(unsigned long milliseconds) const;

private:
    void *m_handle = nullptr;
};

// Show modes of a started program's window.
inline constexpr int kShowNormal = 5;  // SW_SHOW
inline constexpr int kShowRestore = 9; // SW_RESTORE

// Starts `commandLine` with its window in `showMode`.
StartedProcess StartCommandLine(const std::wstring &commandLine, int showMode);

// Opens a web address (http and https only, see WebAddress): the browser command, a blank and
// the address; with no browser command, the system's handler for the address.
StartedProcess OpenURL(const std::wstring &browserCommand, const std::wstring &url);

// Shows a text file in Notepad; nothing for a path that is not a file.
StartedProcess OpenLogFile(const std::wstring &path);

} // namespace wincore
