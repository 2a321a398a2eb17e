#include "protocol/keepalive.h"

#include "core/clientserviceinfo.h"
#include "core/messagestore.h"
#include "core/percentencoding.h"
#include "protocol/exchangeguard.h"
#include "protocol/httprequests.h"
#include "protocol/login.h"
#include "protocol/serviceanswer.h"

namespace {

QString keepAliveUrl(const TClientServiceInfo &info)
{
    return info.serviceUrl(QStringLiteral("/kbz/clientTools/userpromptonline.asp")) +
           QStringLiteral("?logid=") + FormEncoded(info.SessionLogid.text()) +
           QStringLiteral("&VerfyNumber=") + QString::number(info.VerfyNumber);
}

PromptOnlineResult lost(TClientServiceInfo &info, const QString &message)
{
    info.State = StateConnectionLost;
    return {message, false};
}

} // namespace

PromptOnlineResult PromptOnline(TClientServiceInfo &info)
{
    const QByteArray body = HttpGet(info, info.InetTimeOut, keepAliveUrl(info));
    if (body.isEmpty())
        return lost(info, ServiceMessage::NoAnswer());
    try {
        const TServiceAnswer answer(body);
        answer.Text("WebAreasVersion");
        answer.Text("WebServerTypeVersion");
        info.ClientPromptOnlineSeconds = answer.Integer("ClientPromptOnlineSeconds");
        info.KeepAliveTimer->setInterval(KeepAliveIntervalMs(info));
        if (!answer.Accepted())
            return lost(info, answer.Text("Reason"));
        // Read before going online, so that an accepted answer without its list counts as
        // unreadable rather than half-applied.
        const QString messageList = answer.MessageList();
        // Messages that could not be kept must not be acknowledged by the next keep-alive: as a
        // failed keep-alive this one leads to a new login, and the service delivers them again.
        if (!StoreMessages(info, messageList))
            return lost(info, ServiceMessage::Unreadable());
        info.State = StateOnline;
        return {QString(), true};
    } catch (const XmlReadError &) {
        return lost(info, ServiceMessage::Unreadable());
    }
}

void OnKeepAliveTimer(TClientServiceInfo &info)
{
    if (info.TimerBusy)
        return;
    const bool keepAlive = info.State == StateOnline || info.State == StateConnectionLost ||
                           (info.State == StateOffline && info.AutoLogin);
    if (!keepAlive) {
        info.State = StateOffline;
        info.TimerBusy = false;
        StopKeepAliveTimer(info);
        return;
    }
    const FlagGuard busy(info.TimerBusy);
    PromptOnline(info);
    if (info.State == StateConnectionLost) {
        bool newVersion = false;
        Login(info, info.SessionLogid, info.SessionPassword, newVersion);
    }
}

void BindKeepAliveTimer(TClientServiceInfo &info)
{
    info.KeepAliveTimer->setOnTick([&info] { OnKeepAliveTimer(info); });
}
