#pragma once

#include <optional>
#include <string>

// Atomic replacement and a file's identity with Win32 alone.
namespace wincore {

// A new file beside `target` that takes the target's place once committed. Until then, and when
// committing fails, the target is left as it was; an uncommitted file is removed with the object.
class ReplacementFile
{
public:
    // With `ownerOnly` the file lets only the current user in from the moment it exists, and
    // inherits nothing from its folder; otherwise it has the folder's default access.
    ReplacementFile(const std::wstring &target, bool ownerOnly);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // A C runtime descriptor open for writing, or -1 when the file could not be made. It stays
    // owned by this object.
    int descriptor() const { return m_descriptor; }
    // Flushes the file to disk and moves it over the target; false when either fails.
    bool commit();
    // The system error code of the step that failed.
    unsigned long error() const { return m_error; }

private:
    void discard();

    std::wstring m_target;
    std::wstring m_path;
    int m_descriptor = -1;
    unsigned long m_error = 0;
};

// Moves `from` to `to`, replacing a file there, and returns once the move is on disk. 0 when it
// succeeded, else the system error code.
unsigned long MoveReplacing(const std::wstring &from, const std::wstring &to);

struct FileStamp
{
    unsigned long long volume = 0;
    unsigned long long index = 0; // the file's number on its volume: new for a replacement
    long long size = 0;
    long long modified = 0; // last write, in 100 ns units
};

// Nothing when the file cannot be looked at.
std::optional<FileStamp> StampOf(const std::wstring &path);

} // namespace wincore
