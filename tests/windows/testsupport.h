#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <windows.h>

// Sets up the registry and files the code under test reads, with plain Win32 calls of its own.
namespace testing_support {

// True in a wine prefix, where the tests may write the registry as they please.
bool RunningUnderWine();

// The tests that write the registry run only where it is a private one.
#define REQUIRE_PRIVATE_REGISTRY()                                                                 \
    if (!testing_support::RunningUnderWine())                                                      \
    GTEST_SKIP() << "writes the registry: run only in a private wine prefix"

void SetInteger(HKEY root, const wchar_t *path, const wchar_t *name, DWORD value);
// `name` null sets the key's default value.
void SetText(HKEY root, const wchar_t *path, const wchar_t *name, const std::wstring &text,
             DWORD type = REG_SZ);
void DeleteValue(HKEY root, const wchar_t *path, const wchar_t *name);
std::optional<std::wstring> ReadText(HKEY root, const wchar_t *path, const wchar_t *name);
bool KeyExists(HKEY root, const wchar_t *path);
// No values and no subkeys.
bool KeyIsEmpty(HKEY root, const wchar_t *path);

// Lets everyone only read the key `path` until the object goes; then its old access rules are
// back. `applied()` is false when the rules could not be changed.
class ReadOnlyKey
{
public:
    ReadOnlyKey(HKEY root, const wchar_t *path);
    ~ReadOnlyKey();
    bool applied() const { return !m_saved.empty(); }

private:
    HKEY m_key = nullptr;
    std::string m_saved; // the old security descriptor
};

// A fresh directory, removed with the object.
class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Where recordstart.exe (and its copy notepad.exe) lie: beside the test program.
std::filesystem::path ProgramDirectory();

// Points recordstart.exe at a file of its own, and reads back what it recorded.
class StartRecord
{
public:
    StartRecord();
    ~StartRecord();
    // "<show mode>|<command line>", empty when nothing was recorded.
    std::wstring read() const;

private:
    TemporaryDirectory m_directory;
};

} // namespace testing_support
