#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

// What tells one version of a file from another without reading it: an atomic replacement gives
// a new inode, a write in place a new modification time, and most edits a new size.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;

    // The file as it is now; not valid when it cannot be looked at.
    static FileIdentity of(const QString &path);
    bool isValid() const { return size >= 0; }
    bool operator==(const FileIdentity &) const = default;
};

// Where new messages go in a store: in front of the first element inside the root, or before the
// root's end tag when it has none, which is where the oldest store inserts them too.
struct StoreLayout
{
    qint64 insertAt = 0;
};

// The layout of a store that declares gb2312 (so that CP936 bytes can be put in as they are) and
// whose insertion point lies near its start; nothing for any other file. It does not check that
// the rest of the file is well-formed.
std::optional<StoreLayout> ReadStoreLayout(const QString &path);
