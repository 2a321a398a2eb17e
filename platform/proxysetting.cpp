#include "platform/proxysetting.h"

ProxySetting ParseProxyServer(const QString &entry)
{
    ProxySetting setting;
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return setting;
    setting.host = entry.left(colon);
    bool ok = false;
    const qint32 port = entry.mid(colon + 1).toInt(&ok);
    if (ok)
        setting.port = port;
    return setting;
}
