#include "core/cp936.h"
#include "service/accounts.h"
#include "service/database.h"
#include "service/mailbox.h"
#include "service/passwordhash.h"
#include "servicefixture.h"

#include <QDateTime>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

using Sessions = ServiceFixture;

constexpr char kAtThePc[] = "http://127.0.0.1:8081/";
constexpr char kAway[] = "http://example.org/away";

TEST_F(Sessions, LoginAnswersCarryEverySessionValueOrAChineseReason)
{
    // Ids ignore letter case; the address uses the stored spelling.
    const Answer answer = login({{"logid", u"ALICE"_s}});
    ASSERT_TRUE(answer.accepted()) << answer.reply.body.constData();
    EXPECT_TRUE(answer.reply.body.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(answer.reply.closed);
    EXPECT_EQ(answer.attribute("Level"), u"1"_s);
    EXPECT_GT(answer.attribute("VerfyNumber").toInt(), 0);
    EXPECT_EQ(answer.attribute("ClientPromptOnlineSeconds"), u"60"_s);
    // The client's Host line has no port, so the service adds the one it listens on.
    EXPECT_EQ(answer.attribute("UserDomain"), u"http://127.0.0.1:%1/~alice"_s.arg(port));
    EXPECT_FALSE(answer.attribute("WebAreasVersion").isEmpty());
    EXPECT_FALSE(answer.attribute("WebServerTypeVersion").isEmpty());
    EXPECT_EQ(answer.attribute("NewestClientVersion"), u"0.994"_s);

    for (const Fields &wrong : {Fields{{"password", u"wrong"_s}}, Fields{{"password", u"secre"_s}},
                                Fields{{"logid", u"nobody"_s}}}) {
        const Answer refused = login(wrong);
        EXPECT_TRUE(refused.refused()) << wrong[0].second.toStdString();
        EXPECT_EQ(refused.attribute("Reason"), u"用户名或密码错误"_s);
        EXPECT_TRUE(refused.reply.body.contains(cp936::encode(u"用户名或密码错误"_s)));
    }
}

TEST_F(Sessions, ValuesArriveWholeAndAreFormDecoded)
{
    // A value runs to the next key in the client's order, whatever bare "&" and "=" it holds;
    // "+" is a blank and "%2B" a "+" in every value.
    addUser(u"bob"_s, u"a&logid=b= c+"_s);
    const Fields bob{{"logid", u"bob"_s}, {"password", u"a&logid=b=+c%2B"_s}};
    EXPECT_FALSE(login({bob[0], {"password", u"a&logid=b=+c+"_s}}).accepted());
    loginOk(bob + Fields{{"WebTitle", u"中文+标题&x=1"_s},
                         {"WebKeyword", u"a%2Bb+c%zz%4"_s},
                         {"WebIntro", u"%D6%D0"_s + QString(24, u'文')},
                         {"WebAreas", u"1%2B2"_s},
                         {"NotLoginURL", u"http://x.org/a%2Bb"_s}});
    // Broken escapes stay as sent; the 50-byte limit counts CP936 bytes after decoding.
    const QString site = u"|中文 标题&x=1|a+b c%zz%4|中%1|1+2|http://x.org/a+b|"_s;
    EXPECT_TRUE(databaseSnapshot().contains(site.arg(QString(24, u'文'))))
        << databaseSnapshot().toStdString();
}

TEST_F(Sessions, KeepAliveDeliversEachMessageOnceUntilANewLoginOrLogoff)
{
    const qint32 old = loginOk();
    const qint32 current = loginOk();
    ASSERT_NE(old, current);
    queueMessage(u"你好，世界 & <b>"_s);
    queueMessage(u"second"_s, u"ALICE"_s);

    const Answer stale = keepAlive(old);
    EXPECT_TRUE(stale.refused()) << stale.reply.body.constData();
    // The client reads these before Result even on a refusal.
    EXPECT_EQ(stale.attribute("ClientPromptOnlineSeconds"), u"60"_s);
    EXPECT_FALSE(stale.attribute("WebAreasVersion").isEmpty());

    // The refused keep-alive took nothing: the messages wait for the current session.
    const Answer first = keepAlive(current);
    ASSERT_TRUE(first.accepted()) << first.reply.body.constData();
    const XmlElement list = first.messageList();
    ASSERT_EQ(list.childCount(), 2);
    for (const auto &[name, value] : {std::pair{u"Logid"_s, u"alice"_s},
                                      {u"FromLogid"_s, u"admin"_s},
                                      {u"FromIP"_s, u"10.0.0.1"_s},
                                      {u"PostDateTime"_s, u"2024-05-01 12:00:00"_s},
                                      {u"Comment"_s, u"你好，世界 & <b>"_s}})
        EXPECT_EQ(list.child(0).attribute(name), value) << name.toStdString();
    EXPECT_TRUE(first.reply.body.contains(cp936::encode(u"你好，世界"_s)));
    EXPECT_EQ(list.child(1).attribute(u"Comment"_s), u"second"_s);
    // The list is there even when empty: the client takes the second child unconditionally.
    const Answer second = keepAlive(current);
    ASSERT_FALSE(second.messageList().isNull());
    EXPECT_EQ(second.messageList().childCount(), 0);

    EXPECT_TRUE(logoff(old).refused());
    EXPECT_TRUE(logoff(current).accepted());
    EXPECT_TRUE(keepAlive(current).refused());
    EXPECT_TRUE(logoff(current).refused());
}

TEST_F(Sessions, MessagesCountAsDeliveredOnlyWhenTheNextKeepAliveComesAHundredAtATime)
{
    for (int i = 0; i < 150; ++i)
        queueMessage(QString::number(i));
    const auto comments = [](const Answer &answer) {
        QStringList list;
        for (int i = 0; i < answer.messageList().childCount(); ++i)
            list << answer.messageList().child(i).attribute(u"Comment"_s).value_or(QString());
        return list;
    };
    QStringList first100, last50;
    for (int i = 0; i < 150; ++i)
        (i < 100 ? first100 : last50) << QString::number(i);

    // The client lost this answer and logs in again: the new login gets the same messages.
    EXPECT_EQ(comments(keepAlive(loginOk())), first100);
    const qint32 verfy = loginOk();
    EXPECT_EQ(comments(keepAlive(verfy)), first100);
    EXPECT_EQ(comments(keepAlive(verfy)), last50);
    // The keep-alive that confirms the last answer finds nothing more.
    EXPECT_EQ(comments(keepAlive(verfy)), QStringList());
    EXPECT_EQ(Database(databasePath).locked([](SqliteConnection &db) {
        return PendingMessageCount(db, u"alice"_s);
    }),
              0);
}

TEST_F(Sessions, AnOlderPasswordDigestStillLogsInAndIsRenewed)
{
    ASSERT_TRUE(Database(databasePath).locked([&](SqliteConnection &db) {
        return AddAccount(db, u"bob"_s, HashPasswordPbkdf2(u"hunter2"_s), {}, now->load());
    }));
    const Fields bob{{"logid", u"bob"_s}, {"password", u"hunter2"_s}};
    EXPECT_TRUE(login({{"logid", u"bob"_s}, {"password", u"hunter3"_s}}).refused());
    EXPECT_TRUE(databaseSnapshot().contains(u"|pbkdf2-sha256$"_s));
    ASSERT_TRUE(login(bob).accepted());
    const QString renewed = databaseSnapshot();
    EXPECT_FALSE(renewed.contains(u"|pbkdf2-sha256$"_s));
    EXPECT_TRUE(renewed.contains(u"|$argon2id$v=19$m=19456,t=2,p=1$"_s)) << renewed.toStdString();
    EXPECT_TRUE(login(bob).accepted());
    EXPECT_TRUE(login({{"logid", u"bob"_s}, {"password", u"hunter3"_s}}).refused());
}

TEST_F(Sessions, RestartKeepsSessionsAndUndeliveredMessagesAndThePortIsTheServicesAlone)
{
    const qint32 verfy = loginOk();
    queueMessage(u"delivered"_s);
    now->fetch_add(30);
    ASSERT_EQ(keepAlive(verfy).messageList().childCount(), 1);
    queueMessage(u"waiting"_s);

    startService();
    // The last keep-alive time was written on the way down: three periods after it, still online.
    now->fetch_add(3 * kPeriod);
    EXPECT_EQ(redirect(), kAtThePc);
    const Answer resumed = keepAlive(verfy);
    ASSERT_EQ(resumed.messageList().childCount(), 1);
    EXPECT_EQ(resumed.messageList().child(0).attribute(u"Comment"_s), u"waiting"_s);

    ServiceOptions options;
    options.port = port;
    options.databasePath = dir.filePath(u"other.db"_s);
    EXPECT_THROW(MarbelloService(options).start(), std::runtime_error);
    EXPECT_TRUE(login().accepted());
}

TEST_F(Sessions, VisitorsReachThePcOnlyWhileItIsOnlineAndPublishing)
{
    const Fields away{{"NotLoginURL", QString::fromLatin1(kAway)}};
    qint32 verfy = loginOk(away);
    EXPECT_EQ(redirect(), kAtThePc);
    now->fetch_add(2 * kPeriod);
    ASSERT_TRUE(keepAlive(verfy).accepted());
    now->fetch_add(3 * kPeriod);
    EXPECT_EQ(redirect("/~alice/"), kAtThePc);
    now->fetch_add(1);
    EXPECT_EQ(redirect(), kAway);

    verfy = loginOk(away);
    ASSERT_TRUE(logoff(verfy).accepted());
    EXPECT_EQ(redirect(), kAway);

    // "http://" added; a blank the client sent as "+" is escaped in the address.
    loginOk({{"WebIsDynamic", u"0"_s}, {"WebStaticURL", u"www.example.org/my%2Bsite+x"_s}});
    EXPECT_EQ(redirect(), "http://www.example.org/my+site%20x");
    loginOk({{"WebIsOpen", u"0"_s}});
    EXPECT_EQ(redirect(), "status 200");
    EXPECT_EQ(redirect("/~nobody"), "status 404");
    EXPECT_EQ(redirect("/~a'b"), "status 404");

    // The service's own sign-in follows only paths on this service.
    const QByteArray signIn = "/user/logindo.asp?logid=alice&password=secret&comefrom=";
    EXPECT_EQ(redirect(signIn + "/bbs2"), "/bbs2");
    EXPECT_EQ(redirect(signIn + "//evil.org"), "status 200");
}

class AdministrationCommands : public ServiceFixture
{
protected:
    // The real executable, against the database the in-process service has open.
    std::pair<int, QString> run(const QString &line, QStringList more = {})
    {
        const QStringList arguments = line.split(u' ') + more << u"--db"_s << databasePath;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(MARBELLO_SERVICE_BINARY), arguments);
        process.waitForFinished(30000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAll())};
    }
};

TEST_F(AdministrationCommands, WorkOnTheDatabaseWhileTheServiceRunsOrRefuseAndTouchNothing)
{
    const QString before = databaseSnapshot();
    for (const auto &[line, exitCode] : {
             std::pair{u"add-user ALICE other"_s, 1},
             {u"add-user x'y pw123"_s, 1},
             {u"post-message nobody --from a --from-ip 1.1.1.1 --comment hi"_s, 1},
             {u"post-message alice --comment no-sender"_s, 2},
             {u"add-user onlyid"_s, 2},
             {u"--listen 9090"_s, 2},
             {u"--period 0"_s, 2},
             {u"--bogus"_s, 2},
         })
        EXPECT_EQ(run(line).first, exitCode) << line.toStdString();
    EXPECT_EQ(databaseSnapshot(), before);

    const auto [added, addOutput] = run(u"add-user carol pw123"_s);
    ASSERT_EQ(added, 0) << addOutput.toStdString();
    const qint32 verfy = loginOk({{"logid", u"carol"_s}, {"password", u"pw123"_s}});
    const auto [posted, postOutput] =
        run(u"post-message carol --from admin --from-ip 192.168.1.9 --comment 维护通知 --posted"_s,
            {u"2024-06-01 08:00:00"_s});
    ASSERT_EQ(posted, 0) << postOutput.toStdString();
    const Answer answer = keepAlive(verfy, "carol");
    ASSERT_EQ(answer.messageList().childCount(), 1);
    const XmlElement message = answer.messageList().child(0);
    EXPECT_EQ(message.attribute(u"Comment"_s), u"维护通知"_s);
    EXPECT_EQ(message.attribute(u"FromIP"_s), u"192.168.1.9"_s);
    EXPECT_EQ(message.attribute(u"PostDateTime"_s), u"2024-06-01 08:00:00"_s);

    // The command reads the real clock; the fixture's own clock is set to now for this.
    *now = QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(keepAlive(verfy, "carol").accepted());
    service->flushSessions();
    const auto [listed, online] = run(u"online"_s);
    EXPECT_EQ(listed, 0);
    EXPECT_TRUE(online.contains(u"carol\t127.0.0.1"_s)) << online.toStdString();
    EXPECT_TRUE(online.contains(u"1 online"_s));
}

} // namespace
