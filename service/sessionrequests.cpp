#include "service/sessionrequests.h"

#include "service/accounts.h"
#include "service/mailbox.h"
#include "service/requestfields.h"

#include <httplib.h>
#include <limits>
#include <random>

namespace {

// The client reads these but uses none of them: the category and signature files it ships with
// are the only ones there are.
const QString kWebAreasVersion = QStringLiteral("1");
const QString kWebServerTypeVersion = QStringLiteral("1");
const QString kNewestClientVersion = QStringLiteral("0.994");

constexpr qsizetype kPasswordBytes = 64;
constexpr qsizetype kUrlBytes = 255;
// The client keeps title, keywords and introduction to 50 bytes and the category to 20.
constexpr qsizetype kSiteTextBytes = 50;
constexpr qsizetype kAreasBytes = 20;
// Keeps an answer to a few tens of kilobytes however many messages wait; the rest follow with the
// next keep-alives.
constexpr int kMessagesPerAnswer = 100;

QString staleSessionReason()
{
    return QStringLiteral("登录已失效，请重新登录");
}

// A fresh number for every login, so that a replaced login's keep-alives are refused.
qint32 newVerfyNumber(qint32 previous)
{
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<qint32> distribution(1, std::numeric_limits<qint32>::max());
    std::lock_guard lock(mutex);
    qint32 number = 0;
    do {
        number = distribution(generator);
    } while (number == previous);
    return number;
}

SiteDescription readSite(const RequestFields &fields)
{
    SiteDescription site;
    site.webIsOpen = fields.flag("WebIsOpen");
    site.webIsDynamic = fields.flag("WebIsDynamic");
    site.webPort = fields.integer("WebPort", 0, 65535);
    site.webStaticUrl = fields.text("WebStaticURL", kUrlBytes);
    site.webTitle = fields.text("WebTitle", kSiteTextBytes);
    site.webKeyword = fields.text("WebKeyword", kSiteTextBytes);
    site.webIntro = fields.text("WebIntro", kSiteTextBytes);
    site.webAreas = fields.text("WebAreas", kAreasBytes);
    site.notLoginUrl = fields.text("NotLoginURL", kUrlBytes);
    site.clientVersion = fields.text("ClientVersion", 20);
    bool isNumber = false;
    site.clientVersion.toDouble(&isNumber);
    if (!isNumber)
        throw Refusal{QStringLiteral("参数ClientVersion不是有效的数字")};
    if (site.webIsOpen && site.webIsDynamic && site.webPort == 0)
        throw Refusal{QStringLiteral("参数WebPort超出范围")};
    return site;
}

AnswerDocument keepAliveAnswer(bool accepted, int period)
{
    AnswerDocument answer(accepted);
    answer.set("ClientPromptOnlineSeconds", period)
        .set("WebAreasVersion", kWebAreasVersion)
        .set("WebServerTypeVersion", kWebServerTypeVersion);
    return answer;
}

} // namespace

AnswerDocument HandleLogin(ServiceContext &context, const httplib::Request &request)
{
    const RequestFields fields = RequestFields::fromQuery(
        request.target,
        {"logid", "password", "WebIsOpen", "WebIsDynamic", "WebPort", "WebStaticURL", "WebTitle",
         "WebKeyword", "WebIntro", "WebAreas", "NotLoginURL", "ClientVersion"});
    const QString logid = fields.logid("logid");
    const QString password = fields.text("password", kPasswordBytes);
    const SiteDescription site = readSite(fields);

    const std::optional<StoredAccount> account = VerifiedAccount(context.database, logid, password);
    if (!account)
        throw Refusal{QStringLiteral("用户名或密码错误")};

    const qint64 now = context.now();
    const std::optional<Session> previous = context.sessions.find(account->logid);
    const Session session{account->logid, newVerfyNumber(previous ? previous->verfyNumber : 0),
                          QString::fromStdString(request.remote_addr), now, now};
    context.database.locked([&](SqliteConnection &db) {
        SqliteTransaction transaction(db);
        SaveSite(db, account->logid, site, now);
        SaveSession(db, session);
        transaction.commit();
        // Under the database lock, so memory and table agree on which login came last.
        context.sessions.put(session);
    });
    AnswerDocument answer(true);
    answer.set("Level", account->level)
        .set("VerfyNumber", session.verfyNumber)
        .set("ClientPromptOnlineSeconds", context.period())
        .set("UserDomain", context.userDomain(request, account->logid))
        .set("WebAreasVersion", kWebAreasVersion)
        .set("WebServerTypeVersion", kWebServerTypeVersion)
        .set("NewestClientVersion", kNewestClientVersion);
    return answer;
}

AnswerDocument HandleKeepAlive(ServiceContext &context, const httplib::Request &request)
{
    // The client reads the period and the versions even from a refusal; without them it would
    // take the answer for a broken one and lose the reason.
    try {
        const RequestFields fields =
            RequestFields::fromQuery(request.target, {"logid", "VerfyNumber"});
        const QString logid = fields.logid("logid");
        const qint32 verfyNumber = fields.integer("VerfyNumber", std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max());
        const qint64 now = context.now();
        if (!context.sessions.touch(logid, verfyNumber, QString::fromStdString(request.remote_addr),
                                    now))
            throw Refusal{staleSessionReason()};
        const std::vector<QueuedMessage> messages =
            context.database.locked([&](SqliteConnection &db) {
                return ExchangeMessages(db, logid, verfyNumber, kMessagesPerAnswer, now);
            });
        return keepAliveAnswer(true, context.period()).withMessages(messages);
    } catch (const Refusal &refusal) {
        return keepAliveAnswer(false, context.period()).set("Reason", refusal.reason);
    }
}

AnswerDocument HandleLogoff(ServiceContext &context, const httplib::Request &request)
{
    const RequestFields fields = RequestFields::fromQuery(request.target, {"logid", "verfynumber"});
    const QString logid = fields.logid("logid");
    const qint32 verfyNumber = fields.integer("verfynumber", std::numeric_limits<qint32>::min(),
                                              std::numeric_limits<qint32>::max());
    const bool ended = context.database.locked([&](SqliteConnection &db) {
        if (!context.sessions.matches(logid, verfyNumber))
            return false;
        DeleteSession(db, logid);
        context.sessions.remove(logid);
        return true;
    });
    if (!ended)
        throw Refusal{QStringLiteral("未登录或登录已失效")};
    return AnswerDocument(true);
}
