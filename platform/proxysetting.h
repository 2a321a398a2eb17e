#pragma once

#include <QString>

struct ProxySetting
{
    QString host;
    qint32 port = 0;
};

// Splits a "host:port" proxy entry at its first ":". Without a colon there is no host; a port
// that is not a whole number leaves the port 0 while the host is kept.
ProxySetting ParseProxyServer(const QString &entry);
