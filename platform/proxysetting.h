#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ProxySetting
{
    QString host; // empty: no proxy
    qint32 port = 0;
    QByteArray credentials; // "user:password", percent-decoded; empty when none are given
};

// The proxy of an http_proxy value, "[http://][user[:password]@]host[:port][/]", read as every
// Linux tool reads it: a missing port is 80, an IPv6 address stands in brackets. An empty value
// gives no proxy; so does one that cannot be used (another scheme, no host, a port that is not a
// number from 1 to 65535), and then `problem` says why.
ProxySetting ParseProxyUrl(const QString &value, QString *problem = nullptr);

// The entries of a no_proxy value: names, domains, addresses, subnets or "*", separated by commas
// or blanks.
QStringList ParseNoProxy(const QString &value);
