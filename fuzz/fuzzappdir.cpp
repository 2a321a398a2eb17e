#include "fuzzappdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

const QString &FuzzAppDir::path()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/marbello-fuzz-XXXXXX")
                                       : QDir::tempPath() +
                                             QStringLiteral("/marbello-fuzz-XXXXXX"));
    static const QString created = [] {
        QDir(dir.path()).mkpath(QStringLiteral("xml"));
        return dir.path();
    }();
    return created;
}

void FuzzAppDir::initialize(TClientServiceInfo &info)
{
    InitializeClientState(info, path(), QStringLiteral("/opt/marbello/marbello"));
}
