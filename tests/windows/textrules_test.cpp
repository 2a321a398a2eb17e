#include "platform/windows/core/textrules.h"

#include <gtest/gtest.h>

using namespace wincore;

TEST(TextRules, ProxyServerSplitsAtTheFirstColon)
{
    const struct
    {
        std::wstring entry, host;
        std::int32_t port;
    } cases[] = {
        {L"proxy:8080", L"proxy", 8080},
        {L"proxy", L"", 0},
        {L"", L"", 0},
        {L":8080", L"", 8080},
        {L"proxy:", L"proxy", 0},
        {L"proxy: 8080 ", L"proxy", 8080},
        {L"proxy:80x", L"proxy", 0},
        {L"proxy:2147483647", L"proxy", 2147483647},
        {L"proxy:2147483648", L"proxy", 0},
        {L"proxy:99999999999999999999", L"proxy", 0},
        {L"http=web:80;https=secure:443", L"http=web", 0},
        {L"[::1]:8080", L"[", 0},
    };
    for (const auto &row : cases) {
        const ProxyServer proxy = ParseProxyServer(row.entry);
        EXPECT_EQ(proxy.host, row.host) << row.entry;
        EXPECT_EQ(proxy.port, row.port) << row.entry;
    }
}

TEST(TextRules, OnlyWebAddressesAreOpened)
{
    const struct
    {
        std::wstring url;
        std::optional<std::wstring> address;
    } cases[] = {
        {L"http://host/", L"http://host/"},
        {L"  HtTpS://host/x  ", L"HtTpS://host/x"},
        {L"host/~id", L"http://host/~id"},
        {L"host:8080", L"http://host:8080"},
        {L"127.0.0.1:8080/kbz/help", L"http://127.0.0.1:8080/kbz/help"},
        {L"file:///C:/x", std::nullopt},
        {L"javascript:alert(1)", std::nullopt},
        {L"mailto:a@b", std::nullopt},
        {L"host:80x", std::nullopt},
        {L"-flag", std::nullopt},
        {L"   ", std::nullopt},
    };
    for (const auto &row : cases)
        EXPECT_EQ(WebAddress(row.url), row.address) << row.url;
}

TEST(TextRules, CommandLinePiecesStayOneArgument)
{
    EXPECT_EQ(CommandLineAddress(L"http://h/a b\"c\td"), L"http://h/a%20b%22c%09d");
    EXPECT_EQ(CommandLineAddress(L"http://h/中文?q=1&r=2"), L"http://h/中文?q=1&r=2");
    EXPECT_EQ(QuotedWhenBlank(L"C:\\a\\log.txt"), L"C:\\a\\log.txt");
    EXPECT_EQ(QuotedWhenBlank(L"C:\\a b\\log.txt"), L"\"C:\\a b\\log.txt\"");
    for (const auto &[command, started] : {
             std::pair{L"C:\\Program Files\\B\\b.exe -nohome",
                       L"\"C:\\Program Files\\B\\b.exe\" -nohome"},
             {L"C:\\Program Files\\B\\B.EXE", L"\"C:\\Program Files\\B\\B.EXE\""},
             {L"C:\\B\\b.exe -nohome -x a.exe", L"C:\\B\\b.exe -nohome -x a.exe"},
             {L"\"C:\\Program Files\\b.exe\" -new", L"\"C:\\Program Files\\b.exe\" -new"},
             {L"browser -new", L"browser -new"},
         })
        EXPECT_EQ(QuotedProgram(command), started);
    EXPECT_EQ(CleanBrowserCommand(L" \"C:\\B\\b.exe\" -nohome \"%1\" "), L"C:\\B\\b.exe -nohome");
}
