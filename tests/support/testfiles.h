#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh directory per test, playing the executable's directory.
class TestAppDir
{
public:
    TestAppDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }

    QByteArray read(const QString &relative) const;
    void write(const QString &relative, const QByteArray &bytes) const;
    bool exists(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
