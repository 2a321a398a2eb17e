#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The text rules of the Windows backend, apart from the system calls so that they read and test
// as plain functions.
namespace wincore {

struct ProxyServer
{
    std::wstring host;
    std::int32_t port = 0;
};

// Splits a "ProxyServer" entry at its first ":". The host is what stands before it (empty when
// the colon is first or missing); the port is what follows when that is a whole number, else 0
// with the host kept. A per-protocol list ("http=a:1;ftp=b:2") therefore only gives a host.
ProxyServer ParseProxyServer(const std::wstring &entry);

// The browser's open command with every double quote, then every "%1", then the blanks at both
// ends removed: "\"C:\\b\\b.exe\" -nohome \"%1\"" gives "C:\\b\\b.exe -nohome".
std::wstring CleanBrowserCommand(std::wstring command);

// The command with its program in double quotes when the program's path holds a blank, so that
// the system starts that program rather than trying "C:\\Program.exe" first. The program ends at
// the first ".exe" followed by a blank or the end; a command without one is left as it is.
std::wstring QuotedProgram(const std::wstring &command);

// The address a browser may be given, by the same rule as on other systems: "http://" and
// "https://" addresses as they are, an address without a scheme with "http://" in front, and
// nothing for anything else (file:, javascript:, a leading "-" that reads as an option).
std::optional<std::wstring> WebAddress(const std::wstring &url);

// `address` made safe to follow a command line as one argument: blanks, double quotes and
// control characters are percent-encoded, as a browser would send them anyway.
std::wstring CommandLineAddress(const std::wstring &address);

// `path` as one command-line argument: in double quotes when it holds a blank.
std::wstring QuotedWhenBlank(const std::wstring &path);

} // namespace wincore
