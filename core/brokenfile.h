#pragma once

#include <QString>
#include <optional>

// Moves a damaged file out of the way, so that what it held can still be recovered by hand: it is
// renamed to `path` + ".broken-" and the local time (yyyyMMdd-HHmmss, with "-2", "-3", ... for
// more within one second). An earlier one is never replaced. The new path, or nothing when the
// file could not be moved.
std::optional<QString> SetAsideBrokenFile(const QString &path);
