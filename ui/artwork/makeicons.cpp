// Writes the shipped tray icons (online.ico, offline.ico) and the launcher's icon in the sizes of
// the icon theme (hicolor/NxN/apps/marbello.png) into the directory given, drawn from the same
// code as every other picture of the client.
#include "ui/artwork/artwork.h"
#include "ui/artwork/icofile.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: marbello-make-icons OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    for (const bool online : {true, false}) {
        QList<QImage> sizes;
        for (const int size : {16, 24, 32, 48})
            sizes.append(Artwork::TrayIcon(online, size));
        QSaveFile file(
            output.filePath(online ? QStringLiteral("online.ico") : QStringLiteral("offline.ico")));
        if (!file.open(QIODevice::WriteOnly) || file.write(IcoFile(sizes)) < 0 || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(file.fileName()));
            return 1;
        }
    }
    for (const int size : {16, 24, 32, 48, 128, 256}) {
        const QString themeDir = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString launcherIcon = output.filePath(themeDir + QStringLiteral("/marbello.png"));
        if (!output.mkpath(themeDir) || !Artwork::TrayIcon(true, size).save(launcherIcon)) {
            std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(launcherIcon));
            return 1;
        }
    }
    return 0;
}
