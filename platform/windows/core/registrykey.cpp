#include "platform/windows/core/registrykey.h"

#include <cwchar>
#include <utility>
#include <vector>

namespace wincore {

RegistryKey RegistryKey::openForReading(HKEY root, const std::wstring &path, bool create)
{
    HKEY key = nullptr;
    const LONG full = create ? ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr)
                             : ::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (full == ERROR_SUCCESS)
        return RegistryKey(key);
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
        return RegistryKey(key);
    return RegistryKey(nullptr);
}

RegistryKey RegistryKey::openForWriting(HKEY root, const std::wstring &path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS)
        return RegistryKey(key);
    return RegistryKey(nullptr);
}

RegistryKey::RegistryKey(RegistryKey &&other) noexcept : m_key(std::exchange(other.m_key, nullptr))
{}

RegistryKey &RegistryKey::operator=(RegistryKey &&other) noexcept
{
    std::swap(m_key, other.m_key);
    return *this;
}

RegistryKey::~RegistryKey()
{
    if (m_key)
        ::RegCloseKey(m_key);
}

std::optional<DWORD> RegistryKey::readInteger(const wchar_t *name) const
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!m_key ||
        ::RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return value;
}

std::optional<std::wstring> RegistryKey::readText(const wchar_t *name) const
{
    if (!m_key)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::vector<wchar_t> buffer;
    LONG status = ERROR_MORE_DATA;
    // The value may grow between asking its size and reading it.
    while (status == ERROR_MORE_DATA) {
        status = ::RegQueryValueExW(m_key, name, nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        status = ::RegQueryValueExW(m_key, name, nullptr, &type,
                                    reinterpret_cast<BYTE *>(buffer.data()), &size);
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    // Stored text need not end in a terminator, or may hold several.
    std::wstring text(buffer.data(), size / sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    if (type == REG_SZ)
        return text;
    const DWORD expandedSize = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(expandedSize, L'\0');
    if (expandedSize == 0 ||
        ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), expandedSize) == 0)
        return text;
    expanded.resize(std::wcslen(expanded.c_str()));
    return expanded;
}

bool RegistryKey::writeText(const wchar_t *name, const std::wstring &text) const
{
    return m_key &&
           ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                            DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryKey::deleteValue(const wchar_t *name) const
{
    if (!m_key)
        return false;
    const LONG status = ::RegDeleteValueW(m_key, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace wincore
