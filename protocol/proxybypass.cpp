#include "protocol/proxybypass.h"

#include "core/cp936.h"

#include <QHostAddress>

namespace {

// Without the brackets of an IPv6 literal and the final dot of a fully qualified name.
QString normalized(QString name)
{
    name = name.trimmed().toLower();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.sliced(1, name.size() - 2);
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

bool matches(const QString &entry, const QString &host, const QHostAddress &hostAddress)
{
    if (entry == QLatin1String("*"))
        return true;
    if (QHostAddress address; address.setAddress(entry))
        return !hostAddress.isNull() && address.isEqual(hostAddress);
    if (entry.contains(QLatin1Char('/'))) {
        const std::pair<QHostAddress, int> subnet = QHostAddress::parseSubnet(entry);
        return !subnet.first.isNull() && hostAddress.isInSubnet(subnet);
    }
    QString domain = entry;
    while (domain.startsWith(QLatin1Char('.')))
        domain.remove(0, 1);
    if (domain.isEmpty() || !hostAddress.isNull())
        return false;
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

} // namespace

bool BypassesProxy(const QStringList &entries, QByteArrayView host)
{
    const QString name = normalized(cp936::decode(host));
    QHostAddress address;
    if (!address.setAddress(name))
        address.clear();
    for (const QString &entry : entries) {
        if (const QString item = normalized(entry); !item.isEmpty() && matches(item, name, address))
            return true;
    }
    return false;
}
