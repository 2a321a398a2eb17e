#pragma once

#include "platform/systemfiles.h"

#include <QString>
#include <optional>

using SystemFiles::FileIdentity;

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
