#pragma once

#include "core/xmldocument.h"
#include "rawhttp.h"
#include "service/service.h"

#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

// An answer document read as the client reads it: by position, attributes of the first child.
struct Answer
{
    RawReply reply;
    std::optional<XmlDocument> document = XmlDocument::fromBytes(reply.body);

    XmlElement child(int i) const { return document ? document->root().child(i) : XmlElement(); }
    QString attribute(const char *name) const
    {
        return child(0).attribute(QLatin1String(name)).value_or(QString());
    }
    XmlElement messageList() const { return child(1); }
    bool accepted() const { return attribute("Result") == QLatin1String("1"); }
    // A refusal the client can show: an answer page with Result 0 and a reason.
    bool refused() const
    {
        return reply.status == 200 && attribute("Result") == QLatin1String("0") &&
               !attribute("Reason").isEmpty();
    }
};

// "key=value" items in the client's order and spelling; a change replaces the value of its key.
using Fields = QList<std::pair<const char *, QString>>;
QString WithChanges(const QString &items, const QString &separator, const Fields &changes);

// The login target in the client's order; values are given as they go on the wire (CP936,
// form-encoded by the test where it matters).
QByteArray LoginTarget(const Fields &changes = {});

// A service running in-process on a port the system chose, with its own database file, a clock
// the test moves by hand, and the account alice / secret.
class ServiceFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void startService();

    void addUser(const QString &logid, const QString &password);
    void queueMessage(const QString &comment, const QString &to = QStringLiteral("alice"));

    Answer get(const QByteArray &target) { return {GetRaw(port, target)}; }
    Answer login(const Fields &changes = {}) { return get(LoginTarget(changes)); }
    // Logs in and hands back the verification number.
    qint32 loginOk(const Fields &changes = {});
    Answer keepAlive(qint32 verfy, const QByteArray &logid = "alice")
    {
        return get("/kbz/clientTools/userpromptonline.asp?logid=" + logid +
                   "&VerfyNumber=" + QByteArray::number(verfy));
    }
    Answer logoff(qint32 verfy)
    {
        return get("/kbz/clientTools/userlogoff.asp?logid=alice&verfynumber=" +
                   QByteArray::number(verfy));
    }
    // The Location of a redirect, or "status N" for any other reply.
    std::string redirect(const QByteArray &path = "/~alice");
    // Every row of every table, for "this request changed nothing" checks.
    QString databaseSnapshot();

    QTemporaryDir dir;
    QString databasePath;
    static constexpr int kPeriod = 60;
    std::shared_ptr<std::atomic<qint64>> now = std::make_shared<std::atomic<qint64>>(1700000000);
    std::unique_ptr<MarbelloService> service;
    int port = 0;
};
