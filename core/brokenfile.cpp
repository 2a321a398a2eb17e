#include "core/brokenfile.h"

#include <QDateTime>
#include <QFile>

namespace {

// More than this many within one second is no longer a store being damaged but a loop.
constexpr int kNamesPerSecond = 100;

} // namespace

std::optional<QString> SetAsideBrokenFile(const QString &path)
{
    const QString stamped =
        path + QStringLiteral(".broken-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n <= kNamesPerSecond; ++n) {
        const QString candidate =
            n == 1 ? stamped : stamped + QLatin1Char('-') + QString::number(n);
        if (QFile::exists(candidate))
            continue;
        // QFile::rename never replaces an existing file.
        QFile file(path);
        if (file.rename(candidate))
            return candidate;
        qWarning("could not set aside %s: %s", qUtf8Printable(path),
                 qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    qWarning("could not set aside %s: too many broken copies", qUtf8Printable(path));
    return std::nullopt;
}
