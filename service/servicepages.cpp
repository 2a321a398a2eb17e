#include "service/servicepages.h"

#include "service/accounts.h"
#include "service/mailbox.h"
#include "service/replies.h"
#include "service/requestfields.h"

#include <httplib.h>

namespace {

QString paragraph(const QString &text)
{
    return QStringLiteral("<p>") + text + QStringLiteral("</p>\n");
}

QString row(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><th>") + label + QStringLiteral("</th><td>") +
           value.toHtmlEscaped() + QStringLiteral("</td></tr>\n");
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("是") : QStringLiteral("否");
}

// Only a plain path on this service: "//host" or a scheme would make the page an open redirect.
bool isLocalPath(const QString &path)
{
    for (QChar c : path) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F || c == QLatin1Char('\\'))
            return false;
    }
    return path.startsWith(QLatin1Char('/')) && !path.startsWith(QStringLiteral("//"));
}

QString accountBody(const StoredAccount &account, const std::optional<SiteDescription> &site,
                    bool online, qint64 pendingMessages, const QString &userDomain)
{
    QString table = QStringLiteral("<table>\n");
    table += row(QStringLiteral("用户名"), account.logid);
    table += row(QStringLiteral("等级"), QString::number(account.level));
    table += row(QStringLiteral("状态"), online ? QStringLiteral("在线") : QStringLiteral("离线"));
    table += row(QStringLiteral("网站地址"), userDomain);
    table += row(QStringLiteral("待收消息"), QString::number(pendingMessages));
    if (site) {
        table += row(QStringLiteral("开放网站"), yesNo(site->webIsOpen));
        table += row(QStringLiteral("动态地址"), yesNo(site->webIsDynamic));
        table += row(QStringLiteral("端口"), QString::number(site->webPort));
        table += row(QStringLiteral("转发地址"), site->webStaticUrl);
        table += row(QStringLiteral("网站标题"), site->webTitle);
        table += row(QStringLiteral("关键字"), site->webKeyword);
        table += row(QStringLiteral("网站简介"), site->webIntro);
        table += row(QStringLiteral("网站类别"), site->webAreas);
        table += row(QStringLiteral("离线时转向"), site->notLoginUrl);
        table += row(QStringLiteral("客户端版本"), site->clientVersion);
    }
    return table + QStringLiteral("</table>");
}

} // namespace

void HandleHomePage(httplib::Response &response)
{
    ReplyPage(response, 200, QStringLiteral("Marbello XP"),
              paragraph(QStringLiteral("把您自己电脑上的网站发布到互联网。")) +
                  QStringLiteral("<ul><li><a href=\"/kbz/help\">帮助</a></li>"
                                 "<li><a href=\"/download/\">下载客户端</a></li>"
                                 "<li><a href=\"/bbs2\">论坛</a></li></ul>"));
}

void HandleHelpPage(httplib::Response &response)
{
    ReplyPage(response, 200, QStringLiteral("帮助"),
              paragraph(QStringLiteral("运行客户端并登录后，访问者通过您的网站地址"
                                       "（http://本服务/~用户名）即可到达您的网站。")) +
                  paragraph(QStringLiteral("离线时，访问者会被转到您设定的离线地址。")));
}

void HandleDownloadPage(httplib::Response &response)
{
    ReplyPage(response, 200, QStringLiteral("下载"),
              paragraph(QStringLiteral("最新的客户端版本是 0.994。")));
}

void HandleForumPage(httplib::Response &response)
{
    ReplyPage(response, 200, QStringLiteral("论坛"), paragraph(QStringLiteral("论坛暂未开放。")));
}

void HandleAccountPage(ServiceContext &context, const httplib::Request &request,
                       httplib::Response &response)
{
    try {
        const RequestFields fields = RequestFields::fromQuery(
            request.target, {"logid", "password", "comefrom"}, RequestFields::Sender::Browser);
        const QString logid = fields.logid("logid");
        const std::optional<StoredAccount> account =
            VerifiedAccount(context.database, logid, fields.text("password", 64));
        if (!account)
            throw Refusal{QStringLiteral("用户名或密码错误")};
        if (fields.has("comefrom")) {
            const QString comeFrom = fields.text("comefrom", 255);
            if (isLocalPath(comeFrom)) {
                response.set_redirect(comeFrom.toStdString(), 302);
                return;
            }
        }
        std::optional<SiteDescription> site;
        qint64 pending = 0;
        context.database.locked([&](SqliteConnection &db) {
            site = FindSite(db, account->logid);
            pending = PendingMessageCount(db, account->logid);
        });
        const std::optional<Session> session = context.sessions.find(account->logid);
        const bool online = session && IsOnline(*session, context.now(), context.period());
        ReplyPage(response, 200, QStringLiteral("个人控制中心"),
                  accountBody(*account, site, online, pending,
                              context.userDomain(request, account->logid)));
    } catch (const Refusal &refusal) {
        ReplyPage(response, 403, QStringLiteral("登录失败"),
                  paragraph(refusal.reason.toHtmlEscaped()));
    } catch (const SqliteError &) {
        ReplyPage(response, 503, QStringLiteral("服务器忙"),
                  paragraph(QStringLiteral("请稍后再试。")));
    }
}
