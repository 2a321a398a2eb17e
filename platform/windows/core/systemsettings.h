#pragma once

#include <cstdint>
#include <string>

// What the client reads from and writes to the registry. No Windows header here: the Qt side
// includes this, and on other systems builds against a stand-in.
namespace wincore {

inline constexpr wchar_t kInternetSettingsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr wchar_t kBrowserCommandKey[] = L"htmlfile\\shell\\opennew\\command";
inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct ProxyAndBrowser
{
    std::wstring proxyHost;
    std::int32_t proxyPort = 0;
    std::wstring browserCommand;
};

// The user's proxy (when "ProxyEnable" is a non-zero integer) and the browser's open command,
// cleaned of quotes and "%1". Unreadable keys and values give no proxy and no command.
ProxyAndBrowser LookupProxyAndBrowser();

enum class AutoRunOutcome { Updated, Unchanged };

// Writes (autoRun) or deletes (not autoRun) the machine's Run value named after the executable's
// file name, its data the full path as it reads, unquoted. Unchanged when the Run key is missing
// or may not be written.
AutoRunOutcome UpdateAutoRunEntry(const std::wstring &executablePath, bool autoRun);

// "C:\\dir\\client.exe" gives "client.exe".
std::wstring ExecutableFileName(const std::wstring &executablePath);

} // namespace wincore
