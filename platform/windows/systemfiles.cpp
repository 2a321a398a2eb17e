#include "platform/systemfiles.h"

#include "platform/windows/core/replacementfile.h"

#include <QDir>
#include <QFile>

namespace SystemFiles {
namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

bool WriteAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                     FileAccess access, QString &error)
{
    wincore::ReplacementFile replacement(nativePath(path), access == FileAccess::OwnerOnly);
    if (replacement.descriptor() < 0) {
        error = qt_error_string(int(replacement.error()));
        return false;
    }
    QFile file;
    if (!file.open(replacement.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle) ||
        !write(file) || !file.flush()) {
        error = file.errorString();
        return false;
    }
    file.close();
    if (replacement.commit())
        return true;
    error = qt_error_string(int(replacement.error()));
    return false;
}

bool MoveReplacing(const QString &from, const QString &to, QString &error)
{
    const unsigned long code = wincore::MoveReplacing(nativePath(from), nativePath(to));
    if (code != 0)
        error = qt_error_string(int(code));
    return code == 0;
}

FileIdentity FileIdentity::of(const QString &path)
{
    const std::optional<wincore::FileStamp> stamp = wincore::StampOf(nativePath(path));
    if (!stamp)
        return {};
    return {stamp->volume, stamp->index, stamp->size, stamp->modified * 100};
}

} // namespace SystemFiles
