#include "ui/options/serverdetection.h"

#include "core/clientserviceinfo.h"
#include "core/serversignatures.h"
#include "protocol/httprequests.h"
#include "protocol/nmhttp.h"

#include <QCoreApplication>

std::optional<QString> DetectWebServerType(TNMHTTP &http, const TClientServiceInfo &info,
                                           const QString &address)
{
    if (!info.ProxyHost.isEmpty())
        UseClientProxy(http, info);
    // Bounded like every other request: a silent address must not hold the dialog for as long
    // as the system keeps a socket waiting.
    http.TimeOut = info.InetTimeOut;
    // Only a reply to this detection may name the server, never one an earlier detection left.
    http.Header.clear();
    try {
        http.Head(QStringLiteral("http://") + address);
    } catch (const THttpError &) {
        // A later step may fail after a reply came (a redirect to https, to a host that does not
        // answer, one redirect too many): that reply's header still says who answered.
    }
    const QByteArray header = http.Header;
    const std::optional<QList<ServerSignature>> signatures =
        LoadServerSignatures(info.shippedPath(QStringLiteral("xml/webServerType.xml")));
    if (!signatures)
        return std::nullopt;
    const QString name = MatchServerSignature(*signatures, header);
    return name.isEmpty() ? QCoreApplication::translate("ServerDetection", "未知") : name;
}
