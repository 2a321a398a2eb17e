#include "servicefixture.h"

#include "core/cp936.h"
#include "service/accounts.h"
#include "service/database.h"
#include "service/mailbox.h"
#include "service/passwordhash.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

QString WithChanges(const QString &items, const QString &separator, const Fields &changes)
{
    QStringList parts = items.split(separator);
    for (QString &part : parts) {
        const QString key = part.section(u'=', 0, 0);
        for (const auto &[changedKey, value] : changes) {
            if (key == QLatin1String(changedKey))
                part = key + u'=' + value;
        }
    }
    return parts.join(separator);
}

QByteArray LoginTarget(const Fields &changes)
{
    return "/kbz/clientTools/userlogin.asp?" +
           cp936::encode(WithChanges(u"logid=alice&password=secret&WebIsOpen=1&WebIsDynamic=1"
                                     "&WebPort=8081&WebStaticURL=&WebTitle=my+site&WebKeyword=k"
                                     "&WebIntro=i&WebAreas=12&NotLoginURL=&ClientVersion=0.994"_s,
                                     u"&"_s, changes));
}

void ServiceFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    databasePath = dir.filePath(u"service.db"_s);
    startService();
    addUser(u"alice"_s, u"secret"_s);
}

void ServiceFixture::startService()
{
    service.reset();
    ServiceOptions options;
    options.port = 0;
    options.databasePath = databasePath;
    options.periodSeconds = kPeriod;
    options.clock = [clock = now] {
        return clock->load();
    };
    service = std::make_unique<MarbelloService>(options);
    port = service->start();
    ASSERT_GT(port, 0);
}

// Through connections of their own, as the administration commands make them.
void ServiceFixture::addUser(const QString &logid, const QString &password)
{
    ASSERT_TRUE(Database(databasePath).locked([&](SqliteConnection &db) {
        return AddAccount(db, logid, HashPassword(password), {}, now->load());
    }));
}

void ServiceFixture::queueMessage(const QString &comment, const QString &to)
{
    Database(databasePath).locked([&](SqliteConnection &db) {
        QueueMessage(db, {to, u"admin"_s, u"10.0.0.1"_s, u"2024-05-01 12:00:00"_s, comment});
    });
}

qint32 ServiceFixture::loginOk(const Fields &changes)
{
    const Answer answer = login(changes);
    EXPECT_TRUE(answer.accepted()) << answer.reply.body.constData();
    return answer.attribute("VerfyNumber").toInt();
}

std::string ServiceFixture::redirect(const QByteArray &path)
{
    const RawReply reply = GetRaw(port, path);
    return reply.status == 302 ? reply.header("Location").toStdString()
                               : "status " + std::to_string(reply.status);
}

QString ServiceFixture::databaseSnapshot()
{
    service->flushSessions();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databasePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString rows;
    for (const char *table : {"accounts", "sites", "sessions", "messages", "settings"}) {
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY 1";
        sqlite3_exec(
            db, sql.c_str(),
            [](void *out, int columns, char **values, char **) {
                auto *text = static_cast<QString *>(out);
                for (int i = 0; i < columns; ++i)
                    *text += QString::fromUtf8(values[i] ? values[i] : "NULL") + u'|';
                *text += u'\n';
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close(db);
    return rows;
}
