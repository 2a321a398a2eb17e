#include "service/visitorredirect.h"

#include "core/percentencoding.h"
#include "service/accounts.h"
#include "service/replies.h"
#include "service/requestfields.h"
#include "service/servicetext.h"

#include <httplib.h>

namespace {

std::string hostForUrl(const QString &address)
{
    const std::string host = address.toStdString();
    return address.contains(QLatin1Char(':')) ? "[" + host + "]" : host;
}

struct Visit
{
    bool known = false;
    std::optional<SiteDescription> site;
    std::optional<Session> session;
};

} // namespace

std::optional<std::string> RedirectTarget(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const qsizetype schemeEnd = trimmed.indexOf(QStringLiteral("://"));
    QString absolute = trimmed;
    if (schemeEnd < 0) {
        absolute = QStringLiteral("http://") + trimmed;
    } else {
        const QString scheme = trimmed.first(schemeEnd).toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            return std::nullopt;
    }
    const QByteArray location = PercentEncode(servicetext::encode(absolute), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte >= 0x7F;
    });
    return location.toStdString();
}

void HandleVisit(ServiceContext &context, const httplib::Request &request,
                 httplib::Response &response)
{
    const QString logid = QString::fromStdString(request.matches[1].str());
    Visit visit;
    try {
        if (IsValidLogid(logid)) {
            context.database.locked([&](SqliteConnection &db) {
                visit.known = FindAccount(db, logid).has_value();
                visit.site = FindSite(db, logid);
            });
        }
    } catch (const SqliteError &) {
        ReplyPage(response, 503, QStringLiteral("服务器忙"), QStringLiteral("<p>请稍后再试。</p>"));
        return;
    }
    if (!visit.known) {
        ReplyPage(response, 404, QStringLiteral("没有这个用户"),
                  QStringLiteral("<p>这个地址没有对应的用户。</p>"));
        return;
    }
    // Where the visitor goes depends on the moment: no cache may keep the answer.
    response.set_header("Cache-Control", "no-store");
    visit.session = context.sessions.find(logid);
    const bool online = visit.session && IsOnline(*visit.session, context.now(), context.period());
    std::optional<std::string> target;
    if (online && visit.site && visit.site->webIsOpen) {
        target = visit.site->webIsDynamic
                     ? std::optional("http://" + hostForUrl(visit.session->remoteAddr) + ":" +
                                     std::to_string(visit.site->webPort) + "/")
                     : RedirectTarget(visit.site->webStaticUrl);
    }
    if (!target && visit.site)
        target = RedirectTarget(visit.site->notLoginUrl);
    if (target) {
        response.set_redirect(*target, 302);
        return;
    }
    ReplyPage(response, 200, logid.toHtmlEscaped() + QStringLiteral("的网站暂时不能访问"),
              QStringLiteral("<p>该用户目前不在线，或没有开放网站，请稍后再来。</p>"));
}
