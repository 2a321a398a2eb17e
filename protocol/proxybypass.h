#pragma once

#include <QByteArrayView>
#include <QStringList>

// True when a request to `host` goes around the proxy: one of `entries` (the items of a no_proxy
// list) is "*", names the host or a domain it lies in ("example.com" and ".example.com" both take
// example.com and every name below it), or is the host's address, or a subnet holding it
// ("10.0.0.0/8"). Names compare without regard to case; addresses by value, so "::1" is "[::1]".
bool BypassesProxy(const QStringList &entries, QByteArrayView host);
