#include "protocol/logoff.h"

#include "core/clientserviceinfo.h"
#include "core/percentencoding.h"
#include "protocol/exchangeguard.h"
#include "protocol/httprequests.h"
#include "protocol/serviceanswer.h"

namespace {

QString logoffUrl(const TClientServiceInfo &info)
{
    QString path =
        QStringLiteral("/kbz/clientTools/userlogoff.asp?logid=<logid>&verfynumber=<verfynumber>");
    path.replace(QStringLiteral("<logid>"), FormEncoded(info.SessionLogid.text()),
                 Qt::CaseInsensitive);
    path.replace(QStringLiteral("<verfynumber>"), QString::number(info.VerfyNumber),
                 Qt::CaseInsensitive);
    return info.serviceUrl(path);
}

void writeLogoffEntry(const TClientServiceInfo &info, int kind, const QString &detail)
{
    info.Log->Write(kind, QStringLiteral("系统"), QStringLiteral("本地"),
                    QStringLiteral("注销服务器"), detail, info.IfLog);
}

QString logoffExchange(TClientServiceInfo &info, const QString &id)
{
    const QByteArray body = HttpGet(info, info.InetTimeOut, logoffUrl(info));
    if (body.isEmpty()) {
        info.State = StateConnectionLost;
        return ServiceMessage::NoAnswer();
    }
    try {
        const TServiceAnswer answer(body);
        if (answer.Accepted()) {
            info.State = StateOffline;
            writeLogoffEntry(info, TLogInfo::Success, QStringLiteral("Logid:") + id);
            return {};
        }
        const QString reason = answer.Text("Reason");
        writeLogoffEntry(info, TLogInfo::Failure, reason);
        return reason;
    } catch (const XmlReadError &) {
        // An unreadable answer changes nothing.
        return {};
    }
}

} // namespace

QString Logoff(TClientServiceInfo &info, const QString &id)
{
    if (info.State != StateOnline)
        return {};
    const FlagGuard loggingOff(info.LoggingOff);
    const QString message = logoffExchange(info, id);
    StopKeepAliveTimer(info);
    return message;
}
