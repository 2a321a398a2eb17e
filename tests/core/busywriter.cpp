// Rewrites config.xml and adds a message to the store, over and over, the way the client does,
// until it is killed; it says "writing" on stdout as it begins. Each config.xml names its round
// twice (title and intro), and each stored message carries its number, so a reader can tell a
// whole file from a torn one.
//   marbello-busy-writer APP_DIR NEXT_CONFIG_ROUND NEXT_MESSAGE
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/messagestore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    TClientServiceInfo info;
    InitializeClientState(info, QString::fromLocal8Bit(argv[1]),
                          QCoreApplication::applicationFilePath());
    info.LastLogid = QStringLiteral("ruruv");
    info.LastPassword = QStringLiteral("secret");
    int round = QString::fromLatin1(argv[2]).toInt();
    int message = QString::fromLatin1(argv[3]).toInt();
    // The killer times its kill from here, however long the start took.
    std::puts("writing");
    std::fflush(stdout);
    for (;; ++round, ++message) {
        info.WebTitle = QStringLiteral("标题 %1").arg(round);
        info.WebIntro = QStringLiteral("简介 %1").arg(round);
        if (!SaveConfig(info))
            return 1;
        const QString list =
            QStringLiteral("<l><m Logid=\"ruruv\" Comment=\"%1\"/></l>").arg(message);
        if (!StoreMessages(info, list))
            return 1;
    }
}
