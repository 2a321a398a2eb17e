#pragma once

#include <QByteArray>

// Where one pass of a transaction goes.
struct UrlTarget
{
    QByteArray url;  // the URL as a proxy receives it: "/" appended when it had no path
    QByteArray path; // what a direct request asks for: everything from the path on, query included
    QByteArray host;
    int port = 80;
};

// Splits a URL (CP936 bytes) at the start of a pass. `host` and `port` are the component's current
// values: a URL without a host part keeps the host, and only a scheme or a port in the URL changes
// the port (0 becomes 80). Raises THttpError for an empty URL, an https URL or a port that is not a
// number.
UrlTarget SplitUrl(const QByteArray &url, const QByteArray &host, int port);
