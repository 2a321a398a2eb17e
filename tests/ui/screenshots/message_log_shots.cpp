#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "tests/ui/screenshots/shot.h"
#include "ui/messages/messagewindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const ShotRegistrar messageLog("message_log", [](ShotContext &c) {
    const QString path = c.info.messagesPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile store(path);
    if (store.open(QIODevice::WriteOnly))
        store.write(cp936::encode(QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Messages>\n"
            "<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"192.168.1.20\" "
            "PostDateTime=\"2006-12-7 9:00:05\" Comment=\"服务器今晚十点维护，请提前保存网页\"/>\n"
            "<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"192.168.1.20\" "
            "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"欢迎使用网站发布服务\"/>\n"
            "</Messages>\n")));
    store.close();
    TfrmMessageShow window(c.info);
    return GrabShown(window);
});

} // namespace
