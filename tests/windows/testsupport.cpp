#include "tests/windows/testsupport.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sddl.h>
#include <vector>

namespace testing_support {

namespace {

HKEY createKey(HKEY root, const wchar_t *path)
{
    HKEY key = nullptr;
    const LONG status =
        ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "creating a key for the test";
    return key;
}

} // namespace

bool RunningUnderWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

void SetInteger(HKEY root, const wchar_t *path, const wchar_t *name, DWORD value)
{
    if (HKEY key = createKey(root, path)) {
        EXPECT_EQ(::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                                   sizeof(value)),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
}

void SetText(HKEY root, const wchar_t *path, const wchar_t *name, const std::wstring &text,
             DWORD type)
{
    if (HKEY key = createKey(root, path)) {
        EXPECT_EQ(::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE *>(text.c_str()),
                                   DWORD((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
}

void DeleteValue(HKEY root, const wchar_t *path, const wchar_t *name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key, name);
        ::RegCloseKey(key);
    }
}

std::optional<std::wstring> ReadText(HKEY root, const wchar_t *path, const wchar_t *name)
{
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

bool KeyExists(HKEY root, const wchar_t *path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

bool KeyIsEmpty(HKEY root, const wchar_t *path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG status = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                           nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const wchar_t *path)
{
    if (::RegOpenKeyExW(root, path, 0, READ_CONTROL | WRITE_DAC, &m_key) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    ::RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::string saved(size, '\0');
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (::RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, saved.data(), &size) !=
            ERROR_SUCCESS ||
        !::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                &readOnly, nullptr))
        return;
    if (::RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS)
        m_saved = std::move(saved);
    ::LocalFree(readOnly);
}

ReadOnlyKey::~ReadOnlyKey()
{
    if (applied())
        ::RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
    if (m_key)
        ::RegCloseKey(m_key);
}

TemporaryDirectory::TemporaryDirectory()
{
    static std::atomic<int> counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             (L"marbello-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter));
    std::filesystem::create_directories(m_path);
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path ProgramDirectory()
{
    std::vector<wchar_t> path(32768);
    path.resize(::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return std::filesystem::path(std::wstring(path.begin(), path.end())).parent_path();
}

StartRecord::StartRecord()
{
    ::SetEnvironmentVariableW(L"MARBELLO_RECORD_FILE", (m_directory.path() / L"record").c_str());
}

StartRecord::~StartRecord()
{
    ::SetEnvironmentVariableW(L"MARBELLO_RECORD_FILE", nullptr);
}

std::wstring StartRecord::read() const
{
    std::ifstream in(m_directory.path() / L"record", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::wstring(reinterpret_cast<const wchar_t *>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
}

} // namespace testing_support
