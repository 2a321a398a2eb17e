#include "protocol/urlsplit.h"

#include "protocol/httperror.h"

#include <algorithm>

namespace {

// Index of the n-th '/' of `url` (n counted from 1), or -1.
qsizetype nthSlash(const QByteArray &url, int n)
{
    qsizetype at = -1;
    for (int i = 0; i < n; ++i) {
        at = url.indexOf('/', at + 1);
        if (at < 0)
            return -1;
    }
    return at;
}

// `text` from `from` up to (not including) `to`; to the end when `to` is -1.
QByteArray between(const QByteArray &text, qsizetype from, qsizetype to)
{
    return to < 0 ? text.mid(from) : text.mid(from, to - from);
}

int parsePort(const QByteArray &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!ok || !digitsOnly || port > 65535)
        throw THttpError(QStringLiteral("Invalid port in URL"));
    return port;
}

} // namespace

UrlTarget SplitUrl(const QByteArray &url, const QByteArray &host, int port)
{
    if (url.isEmpty())
        throw THttpError(QStringLiteral("Empty URL"));
    UrlTarget target{url, {}, host, port == 0 ? 80 : port};

    const bool hasAuthority = url.contains("//");
    const qsizetype pathStart = hasAuthority ? nthSlash(url, 3) : url.indexOf('/');
    if (pathStart >= 0)
        target.path = url.mid(pathStart);

    // Only text before any '/' can be a scheme: a colon in the query of a relative URL must not
    // reset the port.
    const qsizetype colon = url.indexOf(':');
    if (colon >= 0 && !url.left(colon).contains('/')) {
        const QByteArray scheme = url.left(colon).toLower();
        if (scheme == "https")
            throw THttpError(QStringLiteral("HTTP Secure Socket is not supported"));
        target.port = scheme == "gopher" ? 70 : scheme == "ftp" ? 21 : 80;
    }

    QByteArray hostPart;
    if (hasAuthority)
        hostPart = between(url, nthSlash(url, 2) + 1, nthSlash(url, 3));
    else if (!url.startsWith('/'))
        hostPart = between(url, 0, url.indexOf('/'));
    if (const qsizetype portColon = hostPart.indexOf(':'); portColon >= 0) {
        target.port =
            parsePort(between(hostPart, portColon + 1, hostPart.indexOf(':', portColon + 1)));
        hostPart.truncate(portColon);
    }
    if (!hostPart.isEmpty())
        target.host = hostPart;

    if (target.path.isEmpty()) {
        target.path = "/";
        target.url += '/';
    }
    return target;
}
