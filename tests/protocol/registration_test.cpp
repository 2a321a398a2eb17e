// Registration: the exact body, each outcome, and the temporary file that carries the password.
#include "core/cp936.h"
#include "fakeservice.h"
#include "protocol/login.h"
#include "protocol/registration.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

using Outcome = RegistrationResult::Outcome;

RegistrationForm sampleForm()
{
    RegistrationForm form;
    form.logid = QStringLiteral(" new-user_1 ");
    form.password = QStringLiteral("p&w=1 ");
    form.name = QStringLiteral("张三&李四=");
    form.male = false;
    form.birthday = QDate(1977, 6, 2);
    form.location = QStringLiteral("中国大陆");
    form.address = QStringLiteral("北京 a=b&c");
    form.postalCode = QStringLiteral("100080");
    form.telephone = QStringLiteral("010-1234");
    form.email = QStringLiteral("Zhang.San@Example-Mail.cn");
    return form;
}

QString tempFile(const FakeServiceFixture &fixture)
{
    return fixture.dir.file(QStringLiteral("tempreg.txt"));
}

TEST(RegistrationEmail, TheServicePatternWithoutRegardToCase)
{
    const struct
    {
        const char *address;
        bool valid;
    } cases[] = {
        {"zhang.san-li@example.com", true},
        {"a_b.c-d.e@mail-server.example-1.cn", true},
        {"ZHANG.SAN@EXAMPLE.COM", true},
        {"x@y.z", true},
        {"user@localhost", false}, // no dot in the domain
        {"zhang..san@example.com", false},
        {"zhang.san@example-.com", false},
        {"zhang.san@example.com-", false},
        {"zhang-@example.com", false},
        {".zhang@example.com", false},
        {"zhang@@example.com", false},
        {"zhang@example..com", false},
        {"zhang san@example.com", false},
        {"zhang@example.com\n", false}, // the address ends where the text ends
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidEmailAddress(QString::fromLatin1(c.address)), c.valid) << c.address;
}

TEST(RegistrationBody, TwelveLinesOfFormEncodedValues)
{
    EXPECT_EQ(RegistrationBody(sampleForm()),
              cp936::encode(QStringLiteral(
                  "logid=new-user_1\r\n&password=p%26w%3D1\r\n&name=张三%26李四%3D\r\n&sex=1\r\n"
                  "&Birthday=1977-6-2\r\n&Location=中国大陆\r\n&address=北京+a%3Db%26c\r\n"
                  "&postalCode=100080\r\n&telephone=010-1234\r\n&icno=\r\n"
                  "&email=Zhang.San@Example-Mail.cn\r\n&IsFromClient=1\r\n")));

    // The password registered is the password the login sends, character for character.
    RegistrationForm form = sampleForm();
    form.password = QStringLiteral("a&b=c+d%41#e");
    TClientServiceInfo info;
    const QString login = BuildLoginUrl(info, form.logid, form.password);
    const QString sent = login.section(QStringLiteral("&password="), 1).section(u'&', 0, 0);
    EXPECT_TRUE(RegistrationBody(form).contains("\r\n&password=" + sent.toLatin1() + "\r\n"));
}

TEST(RegisterUser, PostsTheBodyFileAndReadsEachOutcome)
{
    const struct
    {
        QByteArray reply;
        Outcome outcome;
        QString message;
    } cases[] = {
        {StatusReply(QStringLiteral("Result=\"1\"")), Outcome::Accepted, QString()},
        // One empty line before the document is tolerated.
        {"HTTP/1.0 200 OK\r\n\r\n\r\n<?xml version=\"1.0\"?><A><S Result=\"1\"/></A>",
         Outcome::Accepted, QString()},
        {StatusReply(QStringLiteral("Result=\"0\" Reason=\"用户名abc已被注册\"")), Outcome::Refused,
         QStringLiteral("用户名abc已被注册")},
        {QByteArray(), Outcome::NoAnswer, QStringLiteral("无法连接服务器，请检查Internet连接")},
        {"HTTP/1.0 200 OK\r\n\r\n", Outcome::NoAnswer,
         QStringLiteral("无法连接服务器，请检查Internet连接")},
        {"HTTP/1.0 500 Oops\r\n\r\n<html>Internal error</html>", Outcome::Unreadable,
         QStringLiteral("服务器发生故障，请稍后再试")},
        {StatusReply(QStringLiteral("Reason=\"x\"")), Outcome::Unreadable,
         QStringLiteral("服务器发生故障，请稍后再试")},
        {StatusReply(QStringLiteral("Result=\"0\"")), Outcome::Unreadable,
         QStringLiteral("服务器发生故障，请稍后再试")},
    };
    for (const auto &c : cases) {
        FakeServiceFixture fixture;
        fixture.server.addReply(c.reply, c.reply.isEmpty() ? ScriptedServer::Mode::CloseAtOnce
                                                           : ScriptedServer::Mode::ReplyAndClose);
        const RegistrationResult result = RegisterUser(fixture.info, sampleForm());
        EXPECT_EQ(result.outcome, c.outcome) << c.reply.constData();
        EXPECT_EQ(result.message, c.message);
        ASSERT_EQ(fixture.server.connectionCount(), 1);
        // The body went out whole, CR LF before each "&" and at the end.
        if (!c.reply.isEmpty()) {
            EXPECT_TRUE(fixture.server.requests().at(0).endsWith("\r\n\r\n" +
                                                                 RegistrationBody(sampleForm())));
        }
        EXPECT_FALSE(QFile::exists(tempFile(fixture)));
    }
}

// While the service reads the request, the body file exists readable by its owner only, even
// when an older file of that name was world-readable or a link to another file.
TEST(RegisterUser, TheBodyFileIsOwnerOnlyWhileItExists)
{
    for (const bool plantLink : {false, true}) {
        FakeServiceFixture fixture;
        const QString victim = fixture.dir.file(QStringLiteral("victim.txt"));
        fixture.dir.write(QStringLiteral("victim.txt"), "keep me");
        if (plantLink) {
            ASSERT_TRUE(QFile::link(victim, tempFile(fixture)));
        } else {
            fixture.dir.write(QStringLiteral("tempreg.txt"), "old");
            QFile::setPermissions(tempFile(fixture), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ReadOther);
        }

        QTcpServer service;
        ASSERT_TRUE(service.listen(QHostAddress::LocalHost));
        fixture.info.ServiceHost = QStringLiteral("127.0.0.1:%1").arg(service.serverPort());
        QFileDevice::Permissions seen;
        bool seenLink = true;
        QObject::connect(&service, &QTcpServer::newConnection, [&] {
            QTcpSocket *socket = service.nextPendingConnection();
            const QFileInfo body(tempFile(fixture));
            seen = body.permissions();
            seenLink = body.isSymLink();
            socket->write(StatusReply(QStringLiteral("Result=\"1\"")));
            socket->disconnectFromHost();
        });
        EXPECT_TRUE(RegisterUser(fixture.info, sampleForm()).registered());
        EXPECT_FALSE(seenLink);
        EXPECT_EQ(seen &
                      (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_FALSE(QFile::exists(tempFile(fixture)));
        EXPECT_EQ(fixture.dir.read(QStringLiteral("victim.txt")), "keep me");
    }
}

TEST(RegisterUser, AnUnwritableBodyFileSendsNothing)
{
    FakeServiceFixture fixture;
    fixture.server.addReply(StatusReply(QStringLiteral("Result=\"1\"")));
    // A directory in the file's place cannot be replaced, whoever runs the test.
    ASSERT_TRUE(QDir(fixture.dir.path()).mkpath(QStringLiteral("tempreg.txt/inner")));
    const RegistrationResult result = RegisterUser(fixture.info, sampleForm());
    EXPECT_EQ(result.outcome, Outcome::FileNotWritable);
    EXPECT_EQ(result.message, QStringLiteral("无法写入tempreg.txt，请检查程序目录的权限"));
    EXPECT_EQ(fixture.server.connectionCount(), 0);
    EXPECT_TRUE(QFileInfo(tempFile(fixture)).isDir());
}

} // namespace
