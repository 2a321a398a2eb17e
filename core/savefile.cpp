#include "core/savefile.h"

#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>

bool SaveFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                        FileAccess access, QString *reason)
{
    QSaveFile file(path);
    // Without this a target that is a symbolic link or read-only would be written in place.
    file.setDirectWriteFallback(false);
    // Restricted before the first byte is written, so the content is never readable by others.
    const auto restrictAccess = [&file, access] {
        return access != FileAccess::OwnerOnly || ::fchmod(file.handle(), S_IRUSR | S_IWUSR) == 0;
    };
    // write() only fills the buffer, and commit() renames even when flushing it fails (a full
    // disk): flush first so a short write never replaces the old file.
    if (file.open(QIODevice::WriteOnly) && restrictAccess() && write(file) && file.flush() &&
        file.commit())
        return true;
    qWarning("could not write %s: %s", qUtf8Printable(path), qUtf8Printable(file.errorString()));
    if (reason)
        *reason = file.errorString();
    file.cancelWriting();
    return false;
}

bool SaveFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access)
{
    return SaveFileAtomically(
        path, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); }, access);
}
