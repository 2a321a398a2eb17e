#include "protocol/nmhttp.h"

#include "core/cp936.h"
#include "protocol/httpsocket.h"
#include "protocol/proxybypass.h"
#include "protocol/urlsplit.h"

#include <QFile>
#include <QPointer>
#include <QScopeGuard>
#include <algorithm>
#include <limits>

// Lifetime rule: the component can only be destroyed while a transaction waits (or emits
// Status), and the destructor cancels the socket, which makes that wait raise. So after any
// wait that returns, the component is still alive; on the way out only `run` touches it again,
// and only after checking.

namespace {

// Redirect chains, including a server redirecting to itself, end after this many passes.
constexpr int kMaxPasses = 10;
constexpr qsizetype kMaxHeaderLines = 1000;
constexpr qsizetype kMaxHeaderBytes = 1024 * 1024;
// Service answers are a few kilobytes; a bound this size keeps every parse of them short.
constexpr qsizetype kMaxBodyBytes = 1024 * 1024;
// One pass (a request and its reply) ends at the latest after the larger of these.
constexpr int kMinPassTimeOutMs = 30 * 1000;
constexpr int kPassTimeOutSteps = 8;

int passTimeOutMs(int stepTimeOutMs)
{
    if (stepTimeOutMs <= 0)
        return 0;
    return int(std::clamp<qint64>(qint64(stepTimeOutMs) * kPassTimeOutSteps, kMinPassTimeOutMs,
                                  std::numeric_limits<int>::max()));
}

QByteArray readPostFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw THttpError(QStringLiteral("Cannot open file ") + fileName);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw THttpError(QStringLiteral("Cannot read file ") + fileName);
    return bytes;
}

} // namespace

TNMHTTP::TNMHTTP(QObject *parent) : QObject(parent)
{}

TNMHTTP::~TNMHTTP()
{
    if (m_socket)
        m_socket->cancel();
}

void TNMHTTP::Get(const QString &url)
{
    run(HttpMethod::Get, url, std::nullopt);
}

void TNMHTTP::Post(const QString &url, const QString &postData)
{
    // Read before anything is sent, so a missing file fails before any connection.
    run(HttpMethod::Post, url, OutputFileMode ? readPostFile(postData) : cp936::encode(postData));
}

void TNMHTTP::Head(const QString &url)
{
    run(HttpMethod::Head, url, std::nullopt);
}

void TNMHTTP::run(HttpMethod method, const QString &url, const std::optional<QByteArray> &body)
{
    if (m_socket)
        throw THttpError(QStringLiteral("Already connected"));
    HttpSocket socket(TimeOut, passTimeOutMs(TimeOut));
    m_socket = &socket;
    const QPointer<TNMHTTP> alive(this);
    const auto release = qScopeGuard([this, &alive] {
        if (alive)
            m_socket = nullptr;
    });
    transact(socket, method, cp936::encode(url), body);
}

void TNMHTTP::transact(HttpSocket &socket, HttpMethod method, QByteArray url,
                       const std::optional<QByteArray> &body)
{
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const UrlTarget target = SplitUrl(url, cp936::encode(Host), Port);
        url = target.url;
        Host = cp936::decode(target.host);
        Port = target.port;
        const bool viaProxy = !Proxy.isEmpty() && !BypassesProxy(ProxyBypass, target.host);
        // A cookie belongs to the host that gave it: the service's session must not follow a
        // redirect to somebody else.
        if (!HeaderInfo.Cookie.isEmpty() && HeaderInfo.CookieHost.isEmpty())
            HeaderInfo.CookieHost = target.host;
        const bool cookieHere =
            HeaderInfo.CookieHost.compare(target.host, Qt::CaseInsensitive) == 0;

        socket.beginPass();
        report(1, "Connecting");
        socket.connectTo(viaProxy ? Proxy : Host, viaProxy ? ProxyPort : Port);
        report(2, "Sending Header");
        RequestHead head;
        head.method = method;
        head.target = viaProxy ? target.url : target.path;
        head.host = target.host;
        head.viaProxy = viaProxy;
        if (viaProxy)
            head.proxyCredentials = ProxyCredentials;
        if (cookieHere)
            head.cookie = HeaderInfo.Cookie;
        head.targetEscaped = UrlEscaped || pass > 0;
        if (body)
            head.contentLength = body->size();
        socket.send(BuildRequestHeader(head) + body.value_or(QByteArray()));

        ReplyHeaderValues values;
        const qint16 code = readReply(socket, method, values);
        socket.close();

        if (code >= 300 && code <= 398 && !values.cookie.isEmpty()) {
            HeaderInfo.Cookie = values.cookie;
            HeaderInfo.CookieHost = target.host;
        }
        // Only 300-302 lead somewhere else; any other reply, 299 and 303-399 included, is the
        // answer as it came.
        if (code < 300 || code > 302) {
            report(1, "Transaction Completed");
            return;
        }
        url = redirectUrl(values.location, target);
        report(1, "Redirecting");
    }
    throw THttpError(QStringLiteral("Too many redirects"));
}

qint16 TNMHTTP::readReply(HttpSocket &socket, HttpMethod method, ReplyHeaderValues &values)
{
    report(2, "ReadLn");
    QByteArray line = socket.readLine();
    // Emptied only once a reply has begun: a pass that failed before it keeps the header of the
    // reply before (an earlier pass, or an earlier transaction).
    Header.clear();
    const qint16 code = ReplyCode(line);
    for (qsizetype lines = 1; !line.isEmpty(); ++lines) {
        if (lines > kMaxHeaderLines || Header.size() + line.size() > kMaxHeaderBytes)
            throw THttpError(QStringLiteral("Reply header too long"));
        Header += line;
        values.take(line);
        if (IsHeaderEnd(line))
            break;
        line = socket.readLine();
    }

    report(2, "Capture");
    Body.clear();
    // A reply to HEAD ends at its header, whatever its Content-Length says and however long the
    // server keeps the connection open.
    if (method == HttpMethod::Head)
        return code;
    // A proxy that keeps the connection open (as the request asks it to) ends the body only by
    // its length; without one, the body ends where the server closes the connection.
    const std::optional<qint64> &announced = values.contentLength;
    if (announced && *announced > kMaxBodyBytes)
        throw THttpError(QStringLiteral("Reply body too long"));
    while (!announced || Body.size() < *announced) {
        const QByteArray chunk = socket.readChunk();
        if (chunk.isEmpty())
            break;
        if (Body.size() + chunk.size() > kMaxBodyBytes)
            throw THttpError(QStringLiteral("Reply body too long"));
        Body += chunk;
    }
    if (announced && Body.size() > *announced)
        Body.truncate(*announced);
    return code;
}

QByteArray TNMHTTP::redirectUrl(const QByteArray &location, const UrlTarget &target) const
{
    if (location.contains('/'))
        return location;
    // No Location, or a bare name: the root (or that name) of the host that answered, on the
    // port that answered.
    QByteArray url = "http://" + target.host;
    if (target.port != 80)
        url += ':' + QByteArray::number(target.port);
    return url + '/' + location;
}

void TNMHTTP::report(int level, const char *text)
{
    if (ReportLevel < level)
        return;
    const QPointer<TNMHTTP> alive(this);
    Q_EMIT Status(QString::fromLatin1(text));
    if (!alive)
        throw THttpError(QStringLiteral("Connection Canceled"));
}
