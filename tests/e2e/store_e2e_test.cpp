// Delivered messages against the real reference service: a long backlog, and a store that cannot
// be written for a while. Every message arrives, and arrives once.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/cp936.h"
#include "core/delay.h"
#include "protocol/keepalive.h"
#include "protocol/login.h"
#include "protocol/registration.h"
#include "service/mailbox.h"
#include "tests/app/headlessprocess.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/support/storedcomments.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("store-user");
const QString kPassword = QStringLiteral("s3cret");

// Queues `count` messages numbered from 0, in one transaction.
void queueMessages(const ServiceProcess &service, int count)
{
    SqliteConnection db(service.databasePath());
    db.exec("PRAGMA busy_timeout = 5000");
    db.exec("BEGIN");
    for (int i = 0; i < count; ++i)
        QueueMessage(db, {kId, QStringLiteral("admin"), QStringLiteral("10.0.0.1"),
                          QStringLiteral("2026-1-1 0:00:00"), QString::number(i)});
    db.exec("COMMIT");
}

QStringList numbers(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::number(i);
    return list;
}

class StoreEndToEnd : public ::testing::Test
{
protected:
    StoreEndToEnd() : service(1)
    {
        InitializeClientState(info, app.path(), marbelloExecutable());
        info.ServiceHost = service.host();
        info.InetTimeOut = 4000;
        RegistrationForm form;
        form.logid = kId;
        form.password = kPassword;
        form.name = QStringLiteral("张三");
        form.birthday = QDate(1977, 6, 2);
        form.location = QStringLiteral("中国大陆");
        form.email = QStringLiteral("zhang@example.cn");
        const RegistrationResult result = RegisterUser(info, form);
        registered = result.registered();
        if (!registered)
            ADD_FAILURE() << qPrintable(result.message);
    }

    ServiceProcess service;
    TestAppDir app;
    TClientServiceInfo info;
    bool registered = false;
};

} // namespace

TEST_F(StoreEndToEnd, ABacklogOfTenThousandArrivesAHundredAtATimeEachOnce)
{
    ASSERT_TRUE(registered);
    constexpr int kBacklog = 10000;
    queueMessages(service, kBacklog);
    bool newVersion = false;
    ASSERT_EQ(Login(info, kId, kPassword, newVersion), QString());

    // Keep-alives one after another, without waiting for the period, until one brings nothing.
    const QString store = info.messagesPath();
    int deliveries = 0;
    for (qint64 before = -1; QFileInfo(store).size() != before && deliveries < 2 * kBacklog / 100;
         ++deliveries) {
        before = QFileInfo(store).size();
        ASSERT_TRUE(PromptOnline(info).accepted) << deliveries;
    }
    EXPECT_EQ(deliveries, kBacklog / 100 + 1);
    std::optional<QStringList> comments = StoredComments(store);
    ASSERT_TRUE(comments);
    ASSERT_EQ(comments->size(), kBacklog);
    comments->sort();
    QStringList expected = numbers(kBacklog);
    expected.sort();
    EXPECT_EQ(*comments, expected);
}

TEST_F(StoreEndToEnd, AStoreThatCannotBeWrittenBacksOffAndRecoversWithoutLosingAMessage)
{
    ASSERT_TRUE(registered);
    constexpr int kMessages = 3;
    queueMessages(service, kMessages);
    QDir(app.path()).mkpath(QStringLiteral("xml/messages.xml"));
    TClientServiceInfo stored;
    InitializeClientState(stored, app.path(), marbelloExecutable());
    stored.AutoRun = false;
    stored.IfLog = true;
    stored.InetTimeOut = 4000;
    ASSERT_TRUE(SaveConfig(stored));
    TestAppDir runtime, configHome;
    HeadlessProcess client({app.path(), runtime.path(), configHome.path()});
    client.start({QStringLiteral("--service"), service.host(), QStringLiteral("--logid"), kId,
                  QStringLiteral("--password"), kPassword});
    ASSERT_TRUE(client.waitForOutput(QStringLiteral("登录成功")));

    // With a period of 1 s the client would log in about 20 times; backing off, it logs in at
    // the start and after waits of 5 and 10 s.
    Delay(20000);
    const auto count = [this](const QString &entry) {
        return cp936::decode(app.read(QStringLiteral("log/log.txt"))).count(entry);
    };
    const int logins = count(QStringLiteral("[登录服务器]"));
    EXPECT_GE(logins, 2);
    EXPECT_LE(logins, 5);
    EXPECT_EQ(count(QStringLiteral("[讯息无法保存]")), 1);
    EXPECT_EQ(QString::fromUtf8(client.standardError())
                  .count(QStringLiteral("讯息无法保存，请检查程序目录的权限")),
              1)
        << client.standardError().constData();
    EXPECT_TRUE(QFileInfo(app.file(QStringLiteral("xml/messages.xml"))).isDir());

    ASSERT_TRUE(QDir(app.file(QStringLiteral("xml/messages.xml"))).removeRecursively());
    const QString store = app.file(QStringLiteral("xml/messages.xml"));
    // The next attempt may be up to 20 s away, which is as long as one wait lasts.
    const auto arrived = [&] {
        return StoredComments(store).has_value();
    };
    ASSERT_TRUE(client.waitUntil(arrived) || client.waitUntil(arrived));
    // A few more periods: what arrived is acknowledged, and nothing comes twice.
    Delay(3000);
    std::optional<QStringList> comments = StoredComments(store);
    ASSERT_TRUE(comments);
    comments->sort();
    EXPECT_EQ(*comments, numbers(kMessages));
    EXPECT_EQ(client.stop(SIGTERM), 0);
}
