#include "ui/options/serverdetection.h"

#include "core/clientserviceinfo.h"
#include "core/serversignatures.h"
#include "protocol/nmhttp.h"

#include <QCoreApplication>

std::optional<QString> DetectWebServerType(TNMHTTP &http, const TClientServiceInfo &info,
                                           const QString &address)
{
    if (!info.ProxyHost.isEmpty()) {
        http.Proxy = info.ProxyHost;
        http.ProxyPort = info.ProxyPort;
    }
    // Bounded like every other request: a silent address must not hold the dialog for as long
    // as the system keeps a socket waiting.
    http.TimeOut = info.InetTimeOut;
    QByteArray header;
    try {
        http.Head(QStringLiteral("http://") + address);
        header = http.Header;
    } catch (const THttpError &) {
        // A failed request names nothing: the component still holds an earlier reply's header,
        // which belongs to some other address.
    }
    const std::optional<QList<ServerSignature>> signatures =
        LoadServerSignatures(info.shippedPath(QStringLiteral("xml/webServerType.xml")));
    if (!signatures)
        return std::nullopt;
    const QString name = MatchServerSignature(*signatures, header);
    return name.isEmpty() ? QCoreApplication::translate("ServerDetection", "未知") : name;
}
