#include "core/savefile.h"

bool SaveFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write,
                        FileAccess access)
{
    QString error;
    if (SystemFiles::WriteAtomically(path, write, access, error))
        return true;
    qWarning("could not write %s: %s", qUtf8Printable(path), qUtf8Printable(error));
    return false;
}

bool SaveFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access)
{
    return SaveFileAtomically(
        path, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); }, access);
}

bool SetAsideBrokenFile(const QString &path)
{
    QString error;
    if (SystemFiles::MoveReplacing(path, path + QStringLiteral(".broken"), error))
        return true;
    qWarning("could not set aside %s: %s", qUtf8Printable(path), qUtf8Printable(error));
    return false;
}
