// Writes how it was started, "<show mode>|<command line>" in UTF-16, to the file named by
// MARBELLO_RECORD_FILE: a stand-in for the browser and for Notepad in the backend's tests.
#include <string>
#include <windows.h>

int wmain()
{
    wchar_t file[MAX_PATH];
    if (!::GetEnvironmentVariableW(L"MARBELLO_RECORD_FILE", file, MAX_PATH))
        return 2;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::wstring record = std::to_wstring(show) + L"|" + ::GetCommandLineW();
    const HANDLE out = ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(out, record.data(), DWORD(record.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(out);
    return ok ? 0 : 4;
}
