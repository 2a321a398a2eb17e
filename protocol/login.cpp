#include "protocol/login.h"

#include "core/clientserviceinfo.h"
#include "core/percentencoding.h"
#include "protocol/exchangeguard.h"
#include "protocol/httprequests.h"
#include "protocol/serviceanswer.h"

namespace {

QString flagItem(const char *key, bool on)
{
    return QLatin1String(key) + (on ? QLatin1String("1") : QLatin1String("0"));
}

// After a failure the session counts as lost only if one existed.
quint8 stateWithoutAnswer(quint8 state)
{
    return state == StateOnline || state == StateConnectionLost ? StateConnectionLost
                                                                : StateOffline;
}

} // namespace

QString BuildLoginUrl(const TClientServiceInfo &info, const QString &id, const QString &password)
{
    return info.serviceUrl(QStringLiteral("/kbz/clientTools/userlogin.asp")) +
           QStringLiteral("?logid=") + FormEncoded(id) + QStringLiteral("&password=") +
           FormEncoded(password) + flagItem("&WebIsOpen=", info.WebISOpen) +
           flagItem("&WebIsDynamic=", info.WebISDynamic) + QStringLiteral("&WebPort=") +
           QString::number(info.WebPort) + QStringLiteral("&WebStaticURL=") +
           FormEncoded(info.WebStaticURL) + QStringLiteral("&WebTitle=") +
           FormEncoded(info.WebTitle.text()) + QStringLiteral("&WebKeyword=") +
           FormEncoded(info.WebKeyword.text()) + QStringLiteral("&WebIntro=") +
           FormEncoded(info.WebIntro.text()) + QStringLiteral("&WebAreas=") +
           FormEncoded(info.WebAreas.text()) + QStringLiteral("&NotLoginURL=") +
           FormEncoded(info.NotLoginURL) + QStringLiteral("&ClientVersion=") +
           QString::number(info.ClientVersion, 'g', 15);
}

QString Login(TClientServiceInfo &info, const QString &id, const QString &password,
              bool &newVersion)
{
    const CountGuard loggingIn(info.LoggingIn);
    const QByteArray body = HttpGet(info, info.InetTimeOut, BuildLoginUrl(info, id, password));
    if (body.isEmpty()) {
        info.State = stateWithoutAnswer(info.State);
        if (info.AutoLogin)
            StartKeepAliveTimer(info);
        return ServiceMessage::NoAnswer();
    }
    try {
        const TServiceAnswer answer(body);
        if (!answer.Accepted()) {
            const QString reason = answer.Text("Reason");
            info.State = StateOffline;
            return reason;
        }
        info.State = StateOnline;
        info.StoreFailures.sessionReplaced();
        info.LastLogid = id;
        info.SessionLogid = id;
        info.LastPassword = password;
        info.SessionPassword = password;
        info.Level = answer.Integer("Level");
        info.VerfyNumber = answer.Integer("VerfyNumber");
        info.ClientPromptOnlineSeconds = answer.Integer("ClientPromptOnlineSeconds");
        info.UserDomain = answer.Text("UserDomain");
        answer.Text("WebAreasVersion");
        answer.Text("WebServerTypeVersion");
        newVersion = answer.Decimal("NewestClientVersion") > info.ClientVersion;
        StartKeepAliveTimer(info);
        // The log skips an entry it cannot write, so the outcome stays that of the answer.
        info.Log->Write(TLogInfo::Success, QStringLiteral("系统"), QStringLiteral("本地"),
                        QStringLiteral("登录服务器"), QStringLiteral("Logid:") + id, info.IfLog);
        return {};
    } catch (const XmlReadError &) {
        info.State = stateWithoutAnswer(info.State);
        return ServiceMessage::Unreadable();
    }
}
