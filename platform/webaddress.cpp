#include "platform/webaddress.h"

#include <QRegularExpression>
#include <cstdio>

std::optional<QString> WebAddress(const QString &url)
{
    const QString address = url.trimmed();
    if (address.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
        address.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive))
        return address;
    // A scheme is letters, digits, "+", "-" and "." before the first ":", starting with a letter.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (!address.isEmpty() && !address.startsWith(QLatin1Char('-')) &&
        !scheme.match(address).hasMatch())
        return QStringLiteral("http://") + address;
    // "host:8080/path" reads as a scheme too; take it as a host with a port.
    static const QRegularExpression hostAndPort(QStringLiteral("^[A-Za-z0-9.-]+:[0-9]+(/|$)"));
    if (hostAndPort.match(address).hasMatch())
        return QStringLiteral("http://") + address;
    std::fprintf(stderr, "not opening \"%s\": only http:// and https:// addresses are opened\n",
                 qUtf8Printable(address));
    return std::nullopt;
}
