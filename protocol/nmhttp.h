#pragma once

#include "protocol/httperror.h"
#include "protocol/httpmessage.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class HttpSocket;
struct UrlTarget;

// Optional request header values. The cookie is the only one the client has: a redirect hands
// the cookie it was given on to the next request, as long as that goes to the same host.
struct THeaderInfo
{
    QByteArray Cookie;
    // The host the cookie belongs to; the cookie goes to no other. Empty: the host of the next
    // request.
    QByteArray CookieHost;
};

// The client's HTTP/1.0 component. One transaction at a time: connect (directly or through the
// proxy), send the request, read the reply (a HEAD reply to its header's end, any other its
// Content-Length bytes, or until the server closes the connection), follow 300-302 redirects. The
// caller is blocked, but every wait keeps the event loop running. A failure is raised as
// THttpError; whatever part of the reply arrived stays in Header and Body.
class TNMHTTP : public QObject
{
    Q_OBJECT
public:
    explicit TNMHTTP(QObject *parent = nullptr);
    // Destroying the component during a transaction (from a handler that runs while it waits)
    // cancels it: the wait ends at once and the transaction raises.
    ~TNMHTTP() override;

    void Get(const QString &url);
    // In OutputFileMode `postData` names the file whose bytes form the request body (read whole
    // before connecting); otherwise the text itself is the body, sent as its CP936 bytes.
    void Post(const QString &url, const QString &postData);
    void Head(const QString &url);

    QString Host; // from the URL of the current request
    int Port = 0; // 0 means 80
    // ms each waiting step may take; a pass (request and reply) may take the larger of 30 s and
    // eight steps. 0 means no bound.
    int TimeOut = 0;
    int ReportLevel = 0; // Status is emitted for the steps of this level and below
    QString Proxy;       // empty: direct connection
    int ProxyPort = 0;
    QByteArray ProxyCredentials; // "user:password" for the proxy's Basic authentication
    QStringList ProxyBypass;     // hosts reached directly (see BypassesProxy)
    // The URL is escaped already (a form-encoded query): when it is sent, only its blanks and
    // control bytes are escaped, and its "%XX" stay as they are.
    bool UrlEscaped = false;
    QByteArray Body;   // the reply body as received
    QByteArray Header; // the reply's status and header lines as received, with line ends
    bool OutputFileMode = false;
    THeaderInfo HeaderInfo;

Q_SIGNALS:
    void Status(const QString &text);

private:
    void run(HttpMethod method, const QString &url, const std::optional<QByteArray> &body);
    void transact(HttpSocket &socket, HttpMethod method, QByteArray url,
                  const std::optional<QByteArray> &body);
    qint16 readReply(HttpSocket &socket, HttpMethod method, ReplyHeaderValues &values);
    QByteArray redirectUrl(const QByteArray &location, const UrlTarget &target) const;
    void report(int level, const char *text);

    HttpSocket *m_socket = nullptr; // set while a transaction runs
};
