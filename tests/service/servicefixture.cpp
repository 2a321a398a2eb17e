#include "servicefixture.h"

#include "core/cp936.h"
#include "service/accounts.h"
#include "service/database.h"
#include "service/mailbox.h"
#include "service/passwordhash.h"

#include <sqlite3.h>

XmlElement Answer::status() const
{
    return document ? document->root().child(0) : XmlElement();
}

XmlElement Answer::messageList() const
{
    return document ? document->root().child(1) : XmlElement();
}

QString Answer::attribute(const char *name) const
{
    return status().attribute(QLatin1String(name)).value_or(QString());
}

Answer ReadAnswer(const RawReply &reply)
{
    return Answer{reply, XmlDocument::fromBytes(reply.body)};
}

QByteArray EscapeLikeClient(const QByteArray &target)
{
    QByteArray escaped;
    for (char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            escaped += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            escaped += c;
    }
    return escaped;
}

QByteArray LoginTarget(const QString &logid, const QString &password, const LoginItems &items)
{
    const auto plus = [](QString text) {
        return text.replace(QLatin1Char(' '), QLatin1Char('+'));
    };
    const QString url =
        QStringLiteral("/kbz/clientTools/userlogin.asp?logid=") + logid +
        QStringLiteral("&password=") + password + QStringLiteral("&WebIsOpen=") + items.webIsOpen +
        QStringLiteral("&WebIsDynamic=") + items.webIsDynamic + QStringLiteral("&WebPort=") +
        items.webPort + QStringLiteral("&WebStaticURL=") + plus(items.webStaticUrl) +
        QStringLiteral("&WebTitle=") + plus(items.webTitle) + QStringLiteral("&WebKeyword=") +
        plus(items.webKeyword) + QStringLiteral("&WebIntro=") + plus(items.webIntro) +
        QStringLiteral("&WebAreas=") + items.webAreas + QStringLiteral("&NotLoginURL=") +
        items.notLoginUrl + QStringLiteral("&ClientVersion=") + items.clientVersion;
    return EscapeLikeClient(cp936::encode(url));
}

void ServiceFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    databasePath = dir.filePath(QStringLiteral("service.db"));
    startService();
}

void ServiceFixture::TearDown()
{
    service.reset();
}

void ServiceFixture::startService()
{
    ServiceOptions options;
    options.port = 0;
    options.databasePath = databasePath;
    options.periodSeconds = periodSeconds;
    options.clock = [clock = now] {
        return clock->load();
    };
    service = std::make_unique<MarbelloService>(options);
    port = service->start();
    ASSERT_GT(port, 0);
}

void ServiceFixture::restartService()
{
    service.reset();
    startService();
}

void ServiceFixture::addUser(const QString &logid, const QString &password)
{
    // Through a connection of its own, as the administration command would.
    Database database(databasePath);
    const QString hash = HashPassword(password);
    ASSERT_TRUE(database.locked(
        [&](SqliteConnection &db) { return AddAccount(db, logid, hash, {}, now->load()); }));
}

void ServiceFixture::queueMessage(const QString &to, const QString &comment)
{
    Database database(databasePath);
    database.locked([&](SqliteConnection &db) {
        QueueMessage(db, {to, QStringLiteral("admin"), QStringLiteral("10.0.0.1"),
                          QStringLiteral("2024-05-01 12:00:00"), comment});
    });
}

qint32 ServiceFixture::loginOk(const QString &logid, const QString &password,
                               const LoginItems &items)
{
    const Answer answer = login(logid, password, items);
    EXPECT_TRUE(answer.accepted()) << answer.reply.body.constData();
    return answer.attribute("VerfyNumber").toInt();
}

Answer ServiceFixture::keepAlive(const QString &logid, qint32 verfyNumber)
{
    return get("/kbz/clientTools/userpromptonline.asp?logid=" + logid.toLatin1() +
               "&VerfyNumber=" + QByteArray::number(verfyNumber));
}

Answer ServiceFixture::logoff(const QString &logid, qint32 verfyNumber)
{
    return get("/kbz/clientTools/userlogoff.asp?logid=" + logid.toLatin1() +
               "&verfynumber=" + QByteArray::number(verfyNumber));
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
                    *text += QString::fromUtf8(values[i] ? values[i] : "NULL") + QLatin1Char('|');
                *text += QLatin1Char('\n');
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close(db);
    return rows;
}
