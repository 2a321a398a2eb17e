#pragma once

#include <optional>
#include <string>
#include <windows.h>

namespace wincore {

// One open registry key, closed with the object.
class RegistryKey
{
public:
    // For reading values: with full access first, as the settings have always been opened, and
    // for reading only when that is refused, so that a user without write rights still gets the
    // values. `create` makes a missing key where that is allowed. Not open when both fail.
    static RegistryKey openForReading(HKEY root, const std::wstring &path, bool create);
    // With the right to set and delete values, never created. Not open without that right.
    static RegistryKey openForWriting(HKEY root, const std::wstring &path);

    RegistryKey(RegistryKey &&other) noexcept;
    RegistryKey &operator=(RegistryKey &&other) noexcept;
    ~RegistryKey();

    bool isOpen() const { return m_key != nullptr; }
    // A REG_DWORD value; nothing when it is missing or of another type.
    std::optional<DWORD> readInteger(const wchar_t *name) const;
    // A REG_SZ value, or a REG_EXPAND_SZ one with its variables expanded; nothing when it is
    // missing or of another type. `name` null reads the key's default value.
    std::optional<std::wstring> readText(const wchar_t *name) const;
    bool writeText(const wchar_t *name, const std::wstring &text) const;
    // True when the value is gone afterwards, also when there was none.
    bool deleteValue(const wchar_t *name) const;

private:
    explicit RegistryKey(HKEY key) : m_key(key) {}

    HKEY m_key = nullptr;
};

} // namespace wincore
