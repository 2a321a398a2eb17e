#pragma once

#include "core/xmldocument.h"
#include "rawhttp.h"
#include "service/service.h"

#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// An answer document as the client reads it: by position, attributes of the first child.
struct Answer
{
    RawReply reply;
    std::optional<XmlDocument> document;

    bool readable() const { return document.has_value() && !status().isNull(); }
    XmlElement status() const;
    XmlElement messageList() const;
    QString attribute(const char *name) const;
    bool accepted() const { return attribute("Result") == QLatin1String("1"); }
};

Answer ReadAnswer(const RawReply &reply);

// The site description of a login, with the client's defaults.
struct LoginItems
{
    QString webIsOpen = QStringLiteral("1");
    QString webIsDynamic = QStringLiteral("1");
    QString webPort = QStringLiteral("8081");
    QString webStaticUrl;
    QString webTitle = QStringLiteral("my site");
    QString webKeyword = QStringLiteral("k");
    QString webIntro = QStringLiteral("i");
    QString webAreas = QStringLiteral("12");
    QString notLoginUrl;
    QString clientVersion = QStringLiteral("0.994");
};

// The login target as the client builds it: unescaped CP936, blanks of the four site texts as
// "+", and then blanks and control bytes percent-escaped by its HTTP layer.
QByteArray LoginTarget(const QString &logid, const QString &password, const LoginItems &items = {});
QByteArray EscapeLikeClient(const QByteArray &target);

// A service running in-process on a port the system chose, with its own database file and a
// clock the test moves by hand.
class ServiceFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void startService();
    void restartService();

    void addUser(const QString &logid, const QString &password);
    void queueMessage(const QString &to, const QString &comment);

    Answer get(const QByteArray &target) { return ReadAnswer(GetRaw(port, target)); }
    Answer login(const QString &logid, const QString &password, const LoginItems &items = {})
    {
        return get(LoginTarget(logid, password, items));
    }
    // Logs in and hands back the verification number.
    qint32 loginOk(const QString &logid, const QString &password, const LoginItems &items = {});
    Answer keepAlive(const QString &logid, qint32 verfyNumber);
    Answer logoff(const QString &logid, qint32 verfyNumber);

    // Every row of every table, for "this request changed nothing" checks.
    QString databaseSnapshot();

    QTemporaryDir dir;
    QString databasePath;
    int periodSeconds = 60;
    std::shared_ptr<std::atomic<qint64>> now = std::make_shared<std::atomic<qint64>>(1700000000);
    std::unique_ptr<MarbelloService> service;
    int port = 0;
};
