#pragma once

#include "platform/systemfiles.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

using SystemFiles::FileAccess;

// Replaces `path` with `bytes` atomically: a temporary file beside it is written, flushed to disk
// and renamed over the target, so a crash leaves either the old or the new file. On failure the
// old file stays, the reason goes to stderr, and false comes back.
bool SaveFileAtomically(const QString &path, const QByteArray &bytes,
                        FileAccess access = FileAccess::Default);
// The same with the content produced by `write`, which returns false when it could not write it
// all; for content too large to hold in memory at once. A failure's reason also goes to `reason`
// when one is given.
bool SaveFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                        FileAccess access = FileAccess::Default, QString *reason = nullptr);
