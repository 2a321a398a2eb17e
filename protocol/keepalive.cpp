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

void noteUnstored(TClientServiceInfo &info, const QString &cause)
{
    if (info.StoreFailures.fail(cause))
        info.Log->Write(TLogInfo::Failure, QStringLiteral("系统"), QStringLiteral("本地"),
                        QStringLiteral("讯息无法保存"), cause, info.IfLog);
}

// The next tick waits the longer of the period and a delay that doubles while the store keeps
// failing, so an unwritable store does not cost a login every period. A period of 0 still
// stops the ticks.
void backOff(TClientServiceInfo &info)
{
    const int period = KeepAliveIntervalMs(info);
    if (period > 0)
        info.KeepAliveTimer->setInterval(qMax(period, info.StoreFailures.retry.take()));
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
        if (const StoreResult stored = StoreMessages(info, messageList); !stored) {
            noteUnstored(info, stored.failure);
            return lost(info, ServiceMessage::Unreadable());
        }
        info.StoreFailures.recover();
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
    // After messages it could not store, the session gets no keep-alive until a new login.
    const bool mustLogIn = info.StoreFailures.sessionHoldsUnstored();
    if (!mustLogIn)
        PromptOnline(info);
    if (mustLogIn || info.State == StateConnectionLost) {
        bool newVersion = false;
        Login(info, info.SessionLogid, info.SessionPassword, newVersion);
    }
    if (info.StoreFailures.isFailing())
        backOff(info);
}

void BindKeepAliveTimer(TClientServiceInfo &info)
{
    info.KeepAliveTimer->setOnTick([&info] { OnKeepAliveTimer(info); });
}
