#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestAppDir::TestAppDir()
{
    m_dir.setAutoRemove(true);
}

QByteArray TestAppDir::read(const QString &relative) const
{
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TestAppDir::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

bool TestAppDir::exists(const QString &relative) const
{
    return QFileInfo::exists(file(relative));
}
