#include "platform/windows/core/systemsettings.h"
#include "tests/windows/testsupport.h"

#include <gtest/gtest.h>
#include <variant>

using namespace testing_support;
using wincore::AutoRunOutcome;
using wincore::kBrowserCommandKey;
using wincore::kInternetSettingsKey;
using wincore::kRunKey;

namespace {

using Stored = std::variant<std::monostate, DWORD, std::wstring>; // missing, integer, text

void Store(HKEY root, const wchar_t *path, const wchar_t *name, const Stored &value)
{
    DeleteValue(root, path, name);
    if (const DWORD *integer = std::get_if<DWORD>(&value))
        SetInteger(root, path, name, *integer);
    else if (const std::wstring *text = std::get_if<std::wstring>(&value))
        SetText(root, path, name, *text);
}

} // namespace

TEST(SystemSettings, ProxyFollowsProxyEnableAndSplitsProxyServerAtItsFirstColon)
{
    REQUIRE_PRIVATE_REGISTRY();
    const struct
    {
        Stored enable, server;
        std::wstring host;
        std::int32_t port;
    } cases[] = {
        {DWORD(1), L"proxy:8080", L"proxy", 8080},
        {DWORD(1), L"proxy", L"", 0},
        {Stored(), L"proxy:8080", L"", 0},
        {L"1", L"proxy:8080", L"", 0},
        {DWORD(1), L"http=web:80;https=secure:443", L"http=web", 0},
        {DWORD(0), L"proxy:8080", L"", 0},
        {DWORD(1), L":8080", L"", 8080},
        {DWORD(1), L"proxy:port", L"proxy", 0},
        {DWORD(1), Stored(), L"", 0},
        {DWORD(1), DWORD(8080), L"", 0},
    };
    for (const auto &row : cases) {
        Store(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyEnable", row.enable);
        Store(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyServer", row.server);
        const wincore::ProxyAndBrowser found = wincore::LookupProxyAndBrowser();
        EXPECT_EQ(found.proxyHost, row.host) << found.proxyHost;
        EXPECT_EQ(found.proxyPort, row.port) << row.host;
    }
    DeleteValue(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyEnable");
    DeleteValue(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyServer");
}

TEST(SystemSettings, BrowserCommandLosesQuotesAndThePlaceholder)
{
    REQUIRE_PRIVATE_REGISTRY();
    ::SetEnvironmentVariableW(L"MARBELLO_TOOLS", L"C:\\Tools");
    const struct
    {
        Stored stored;
        DWORD type;
        std::wstring command;
    } cases[] = {
        {L"\"C:\\Program Files\\Browser\\browser.exe\" -nohome \"%1\"", REG_SZ,
         L"C:\\Program Files\\Browser\\browser.exe -nohome"},
        {L"  browser.exe %1 --tab=%1  ", REG_SZ, L"browser.exe  --tab="},
        {L"%MARBELLO_TOOLS%\\browser.exe \"%1\"", REG_EXPAND_SZ, L"C:\\Tools\\browser.exe"},
        {Stored(), REG_SZ, L""},
        {DWORD(1), REG_DWORD, L""},
    };
    for (const auto &row : cases) {
        Store(HKEY_CLASSES_ROOT, kBrowserCommandKey, nullptr, row.stored);
        if (row.type == REG_EXPAND_SZ)
            SetText(HKEY_CLASSES_ROOT, kBrowserCommandKey, nullptr,
                    std::get<std::wstring>(row.stored), REG_EXPAND_SZ);
        EXPECT_EQ(wincore::LookupProxyAndBrowser().browserCommand, row.command);
    }
    ::SetEnvironmentVariableW(L"MARBELLO_TOOLS", nullptr);
}

// A user who may not change Internet Settings (a locked-down account) still gets the proxy.
TEST(SystemSettings, ProxyIsReadWhereTheKeyMayOnlyBeRead)
{
    REQUIRE_PRIVATE_REGISTRY();
    SetInteger(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyEnable", 1);
    SetText(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyServer", L"proxy:8080");
    {
        const ReadOnlyKey readOnly(HKEY_CURRENT_USER, kInternetSettingsKey);
        ASSERT_TRUE(readOnly.applied());
        HKEY full = nullptr;
        ASSERT_NE(
            ::RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_ALL_ACCESS, &full),
            ERROR_SUCCESS)
            << "full access was not refused";
        const wincore::ProxyAndBrowser found = wincore::LookupProxyAndBrowser();
        EXPECT_EQ(found.proxyHost, L"proxy");
        EXPECT_EQ(found.proxyPort, 8080);
    }
    DeleteValue(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyEnable");
    DeleteValue(HKEY_CURRENT_USER, kInternetSettingsKey, L"ProxyServer");
}

// Under wine as under Windows, a user may or may not be allowed to write to the machine's Run
// key: the entry follows AutoRun where that is allowed, and nothing changes where it is not.
TEST(SystemSettings, AutoRunEntryIsTheUnquotedPathWhereTheRunKeyMayBeWritten)
{
    REQUIRE_PRIVATE_REGISTRY();
    HKEY probe = nullptr;
    const bool writable =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &probe) == ERROR_SUCCESS;
    if (probe)
        ::RegCloseKey(probe);
    std::printf("the Run key %s be written here\n", writable ? "may" : "may not");

    for (const std::wstring path :
         {L"C:\\Marbello\\marbello.exe", L"C:\\Program Files\\Marbello XP\\marbello.exe"}) {
        const std::optional<std::wstring> before =
            ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe");
        EXPECT_EQ(wincore::UpdateAutoRunEntry(path, true),
                  writable ? AutoRunOutcome::Updated : AutoRunOutcome::Unchanged);
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe"),
                  writable ? std::optional(path) : before);
    }
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_EQ(wincore::UpdateAutoRunEntry(L"D:\\x\\marbello.exe", false),
                  writable ? AutoRunOutcome::Updated : AutoRunOutcome::Unchanged);
        if (writable) {
            EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe"));
        }
    }
}

TEST(SystemSettings, AutoRunEntryIsLeftAloneWithoutTheRightToWrite)
{
    REQUIRE_PRIVATE_REGISTRY();
    SetText(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe", L"C:\\Old\\marbello.exe");
    {
        const ReadOnlyKey readOnly(HKEY_LOCAL_MACHINE, kRunKey);
        ASSERT_TRUE(readOnly.applied());
        for (const bool autoRun : {true, false}) {
            EXPECT_EQ(wincore::UpdateAutoRunEntry(L"C:\\New\\marbello.exe", autoRun),
                      AutoRunOutcome::Unchanged);
            EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe"),
                      L"C:\\Old\\marbello.exe");
        }
    }
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"marbello.exe");
}

TEST(SystemSettings, MissingRunKeyIsNotCreated)
{
    REQUIRE_PRIVATE_REGISTRY();
    const wchar_t *parent = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        GTEST_SKIP() << "the Run key's parent may not be changed here";
    // Only an empty Run key is taken away for the test, and put back after it.
    const bool existed = KeyExists(HKEY_LOCAL_MACHINE, kRunKey);
    if (existed && (!KeyIsEmpty(HKEY_LOCAL_MACHINE, kRunKey) ||
                    ::RegDeleteKeyW(key, L"Run") != ERROR_SUCCESS)) {
        ::RegCloseKey(key);
        GTEST_SKIP() << "the Run key holds entries or may not be removed";
    }
    EXPECT_EQ(wincore::UpdateAutoRunEntry(L"C:\\m\\marbello.exe", true), AutoRunOutcome::Unchanged);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRunKey));
    if (existed) {
        HKEY run = nullptr;
        ::RegCreateKeyExW(key, L"Run", 0, nullptr, 0, KEY_READ, nullptr, &run, nullptr);
        ::RegCloseKey(run);
    }
    ::RegCloseKey(key);
}

TEST(SystemSettings, MissingKeysAreCreatedAndGiveTheDefaults)
{
    REQUIRE_PRIVATE_REGISTRY();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kInternetSettingsKey);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\opennew");
    const wincore::ProxyAndBrowser found = wincore::LookupProxyAndBrowser();
    EXPECT_EQ(found.proxyHost, L"");
    EXPECT_EQ(found.proxyPort, 0);
    EXPECT_EQ(found.browserCommand, L"");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kInternetSettingsKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kBrowserCommandKey));
}
