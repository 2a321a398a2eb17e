#include "platform/windows/core/textrules.h"

#include <cstdio>
#include <limits>

namespace wincore {

namespace {

bool isBlank(wchar_t ch)
{
    return ch <= L' ';
}

std::wstring trimmed(const std::wstring &text)
{
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && isBlank(text[first]))
        ++first;
    while (end > first && isBlank(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

// A whole decimal number with an optional sign and blanks around it, within 32 bits.
std::optional<std::int32_t> wholeNumber(const std::wstring &text)
{
    const std::wstring number = trimmed(text);
    std::size_t at = 0;
    const bool negative = !number.empty() && number[0] == L'-';
    if (!number.empty() && (number[0] == L'-' || number[0] == L'+'))
        ++at;
    if (at == number.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; at < number.size(); ++at) {
        if (number[at] < L'0' || number[at] > L'9')
            return std::nullopt;
        value = value * 10 + (number[at] - L'0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

void removeAll(std::wstring &text, const std::wstring &part)
{
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

wchar_t asciiLower(wchar_t ch)
{
    return ch >= L'A' && ch <= L'Z' ? wchar_t(ch - L'A' + L'a') : ch;
}

// `prefix` in lower case.
bool startsWithNoCase(const std::wstring &text, const std::wstring &prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

bool isAsciiLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

bool isAsciiDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

// "scheme:" where a scheme is a letter followed by letters, digits, "+", "-" and ".".
bool hasScheme(const std::wstring &address)
{
    if (address.empty() || !isAsciiLetter(address[0]))
        return false;
    for (const wchar_t ch : address) {
        if (ch == L':')
            return true;
        if (!isAsciiLetter(ch) && !isAsciiDigit(ch) && ch != L'+' && ch != L'-' && ch != L'.')
            return false;
    }
    return false;
}

// "host:8080" or "host:8080/path" reads as a scheme too, but is a host with a port.
bool isHostAndPort(const std::wstring &address)
{
    const std::size_t colon = address.find(L':');
    if (colon == 0 || colon == std::wstring::npos)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const wchar_t ch = address[i];
        if (!isAsciiLetter(ch) && !isAsciiDigit(ch) && ch != L'.' && ch != L'-')
            return false;
    }
    std::size_t end = colon + 1;
    while (end < address.size() && isAsciiDigit(address[end]))
        ++end;
    return end > colon + 1 && (end == address.size() || address[end] == L'/');
}

} // namespace

ProxyServer ParseProxyServer(const std::wstring &entry)
{
    ProxyServer proxy;
    const std::size_t colon = entry.find(L':');
    if (colon == std::wstring::npos)
        return proxy;
    proxy.host = entry.substr(0, colon);
    if (const std::optional<std::int32_t> port = wholeNumber(entry.substr(colon + 1)))
        proxy.port = *port;
    return proxy;
}

std::wstring CleanBrowserCommand(std::wstring command)
{
    removeAll(command, L"\"");
    removeAll(command, L"%1");
    return trimmed(command);
}

std::wstring QuotedProgram(const std::wstring &command)
{
    if (command.empty() || command[0] == L'"')
        return command;
    std::wstring lower = command;
    for (wchar_t &ch : lower)
        ch = asciiLower(ch);
    for (std::size_t at = lower.find(L".exe"); at != std::wstring::npos;
         at = lower.find(L".exe", at + 1)) {
        const std::size_t end = at + 4;
        if (end < command.size() && !isBlank(command[end]))
            continue;
        const std::wstring program = command.substr(0, end);
        return QuotedWhenBlank(program) + command.substr(end);
    }
    return command;
}

std::optional<std::wstring> WebAddress(const std::wstring &url)
{
    const std::wstring address = trimmed(url);
    if (startsWithNoCase(address, L"http://") || startsWithNoCase(address, L"https://"))
        return address;
    if ((!address.empty() && address[0] != L'-' && !hasScheme(address)) || isHostAndPort(address))
        return L"http://" + address;
    std::fprintf(stderr, "not opening \"%ls\": only http:// and https:// addresses are opened\n",
                 address.c_str());
    return std::nullopt;
}

std::wstring CommandLineAddress(const std::wstring &address)
{
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring safe;
    for (const wchar_t ch : address) {
        if (ch == L'"' || isBlank(ch) || ch == 0x7f) {
            safe += L'%';
            safe += hex[(ch >> 4) & 0xf];
            safe += hex[ch & 0xf];
        } else {
            safe += ch;
        }
    }
    return safe;
}

std::wstring QuotedWhenBlank(const std::wstring &path)
{
    if (path.find_first_of(L" \t") == std::wstring::npos)
        return path;
    return L"\"" + path + L"\"";
}

} // namespace wincore
