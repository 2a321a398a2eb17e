#include "savefile.h"

#include <QSaveFile>

bool SaveFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Without this a target that is a symbolic link or read-only would be written in place.
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qWarning("could not write %s: %s", qUtf8Printable(path), qUtf8Printable(file.errorString()));
    file.cancelWriting();
    return false;
}
