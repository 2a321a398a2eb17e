#include "platform/systemfiles.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace SystemFiles {

bool WriteAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                     FileAccess access, QString &error)
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
    error = file.errorString();
    file.cancelWriting();
    return false;
}

bool MoveReplacing(const QString &from, const QString &to, QString &error)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    error = qt_error_string(errno);
    return false;
}

FileIdentity FileIdentity::of(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

} // namespace SystemFiles
