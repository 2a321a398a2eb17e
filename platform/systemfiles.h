#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

// The file operations that each system does its own way: atomic replacement, owner-only access
// and a file's identity. core/ reaches them only through here, so that it builds for every system.
namespace SystemFiles {

enum class FileAccess {
    Default,   // as a new file in that directory would be, or as the replaced file was
    OwnerOnly, // readable and writable by the user alone, whatever the old file allowed
};

// Replaces `path` with what `write` writes (it returns false when it could not write it all): a
// new file beside it is written, flushed to disk and moved over the target, so a crash leaves
// either the old or the new file. Owner-only access holds before the first byte is written. On
// failure the old file stays and `error` says why.
bool WriteAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                     FileAccess access, QString &error);

// Moves `from` to `to`, replacing a file there in one step. False, with `error`, when it could not.
bool MoveReplacing(const QString &from, const QString &to, QString &error);

// What tells one version of a file from another without reading it: an atomic replacement gives
// a new file (inode, file index), a write in place a new modification time, and most edits a new
// size.
struct FileIdentity
{
    quint64 device = 0;
    quint64 file = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;

    // The file as it is now; not valid when it cannot be looked at.
    static FileIdentity of(const QString &path);
    bool isValid() const { return size >= 0; }
    bool operator==(const FileIdentity &) const = default;
};

} // namespace SystemFiles
