#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

enum class HttpMethod { Get, Post, Head };

// What goes into the header of one request.
struct RequestHead
{
    HttpMethod method = HttpMethod::Get;
    QByteArray target; // the path, or the whole URL through a proxy
    QByteArray host;   // never with a port
    bool viaProxy = false;
    QByteArray cookie;                      // no Cookie line when empty
    std::optional<qsizetype> contentLength; // Post only
    // A target that is escaped already (a redirect's Location, or a URL whose values an exchange
    // form-encoded) keeps its "%XX" as they are.
    bool targetEscaped = false;
    QByteArray proxyCredentials; // "user:password"; no Proxy-Authorization line when empty
};

// The request header text, each line ended by CR LF, then the empty line. The lines come in the
// order and spelling the service has always received. No value can break the request: the request
// target has every space, control byte, "#" and "%" percent-encoded (an escaped target only its
// spaces and control bytes), header values their control bytes.
QByteArray BuildRequestHeader(const RequestHead &head);

// The number between the first and second space of a status line; 0 when there is none.
qint16 ReplyCode(QByteArrayView statusLine);

// True for the bare line end that closes a reply header.
bool IsHeaderEnd(QByteArrayView line);

// The Set-Cookie, Location and Content-Length values of one reply; a later line of the same name
// wins. A Content-Length that is not a plain decimal number counts as absent.
struct ReplyHeaderValues
{
    QByteArray cookie;
    QByteArray location;
    std::optional<qint64> contentLength;

    // Looks at one received header line (with its line end).
    void take(QByteArrayView line);
};
