#include "core/cp936.h"
#include "tests/protocol/scriptedserver.h"
#include "tests/ui/optionsfixture.h"
#include "ui/messagebox.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Seven signatures; the reply headers below hold some of their keywords.
const QByteArray kSignatures = cp936::encode(uR"(<?xml version="1.0" encoding="gb2312"?>
<webServerTypes Version="2">
  <ServerType keyword="Alpha" name="甲"/>
  <ServerType keyword="Beta" name="乙"/>
  <ServerType keyword="Gamma" name="丙"/>
  <ServerType keyword="Delta" name="丁"/>
  <ServerType keyword="Epsilon" name="戊"/>
  <ServerType keyword="nginx" name="nginx"/>
  <ServerType keyword="Apache" name="Apache"/>
</webServerTypes>
)"_s);

const QString kBrokenFile = u"错误|xml\\webServerType.xml文件损坏或不存在..."_s;

struct DetectionFixture : OptionsFixture
{
    explicit DetectionFixture(const QByteArray &signatures = kSignatures)
    {
        if (!signatures.isNull())
            dir.write(u"xml/webServerType.xml"_s, signatures);
        describeSite();
        show();
        child<QTabWidget>("pgcOptions")->setCurrentIndex(1);
    }

    // Types the address into the forwarding edit and presses "探测".
    QString detect(const QString &address)
    {
        retype(edit("edtNotLoginURL"), address);
        click(button("btnDetectiveWebServerType"));
        return result();
    }
    QString detect(const ScriptedServer &server)
    {
        return detect(u"127.0.0.1:"_s + QString::number(server.port()));
    }
    QString result() const { return child<QLabel>("dispWebServerType")->text(); }
    bool buttonsUsable() const
    {
        return button("btnDetectiveWebServerType")->isEnabled() && button("btnOK")->isEnabled();
    }
};

QByteArray Reply(const QByteArray &statusLine, const QByteArray &headerLines)
{
    return statusLine + "\r\n" + headerLines + "\r\n";
}

} // namespace

class DetectionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstSignatureInTheFileWins_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("name");
        QTest::newRow("second and fifth")
            << Reply("HTTP/1.0 200 OK", "Server: Epsilon/1\r\nX-Powered-By: Beta\r\n") << u"乙"_s;
        QTest::newRow("status line only")
            << Reply("HTTP/1.0 200 Gamma", "Server: x\r\n") << u"丙"_s;
        QTest::newRow("case differs")
            << Reply("HTTP/1.0 200 OK", "Server: alpha DELTA\r\n") << u"未知"_s;
        QTest::newRow("no header lines") << Reply("HTTP/1.0 404 Not Found", "") << u"未知"_s;
    }

    void firstSignatureInTheFileWins()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, name);
        ScriptedServer server;
        server.addReply(reply);
        DetectionFixture f;
        QCOMPARE(f.detect(server), name);
        // One HEAD for the address as typed.
        QCOMPARE(server.connectionCount(), 1);
        QVERIFY(server.requests().first().startsWith("HEAD / HTTP/1.0\r\n"));
        QVERIFY(f.buttonsUsable());
    }

    void namesWhoAnsweredLastWithinASecond_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        const QByteArray apache = "HTTP/1.1 200 OK\r\nServer: Apache/2.4.57 (Debian)\r\n";
        const QByteArray moved = "HTTP/1.1 301 Moved Permanently\r\nServer: nginx/1.22.1\r\n"
                                 "Content-Length: 169\r\nLocation: ";
        constexpr int closed = int(ScriptedServer::Mode::ReplyAndClose);
        constexpr int keptOpen = int(ScriptedServer::Mode::ReplyAndKeepOpen);
        QTest::newRow("plain") << apache + "Content-Length: 45\r\n\r\n" << closed << u"Apache"_s;
        QTest::newRow("large Content-Length") << apache + "Content-Length: 5000000\r\n\r\n"
                                              << closed << u"Apache"_s;
        QTest::newRow("kept-open connection")
            << apache + "Content-Length: 45\r\nConnection: keep-alive\r\n\r\n"
            << keptOpen << u"Apache"_s;
        QTest::newRow("301 to https") << moved + "https://127.0.0.1/\r\n\r\n"
                                      << keptOpen << u"nginx"_s;
        QTest::newRow("301 to an address that does not answer")
            << moved + "http://127.0.0.1:1/\r\n\r\n"
            << closed << u"nginx"_s;
        QTest::newRow("301 to itself, past the redirect limit") << moved + "/\r\n\r\n"
                                                                << closed << u"nginx"_s;
    }

    void namesWhoAnsweredLastWithinASecond()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, mode);
        QFETCH(QString, name);
        ScriptedServer server;
        server.addReply(reply, ScriptedServer::Mode(mode));
        DetectionFixture f;
        f.info.InetTimeOut = 10000;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(f.detect(server), name);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(f.buttonsUsable());
    }

    void emptySignatureListNamesNothing()
    {
        ScriptedServer server;
        server.addReply(Reply("HTTP/1.0 200 Alpha", "Server: Alpha\r\n"));
        DetectionFixture f(cp936::encode(u"<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                                         u"<webServerTypes Version=\"1\"></webServerTypes>"_s));
        QCOMPARE(f.detect(server), u"未知"_s);
        QCOMPARE(server.connectionCount(), 1);
    }

    void missingOrBrokenFileIsReportedAfterTheRequest_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("broken") << QByteArray("<webServerTypes Version=\"1\"><ServerType");
    }

    void missingOrBrokenFileIsReportedAfterTheRequest()
    {
        QFETCH(QByteArray, file);
        ScriptedServer server;
        server.addReply(Reply("HTTP/1.0 200 OK", "Server: Alpha\r\n"));
        DetectionFixture f(kSignatures);
        QCOMPARE(f.detect(server), u"甲"_s);
        if (file.isNull())
            QVERIFY(QFile::remove(f.dir.file(u"xml/webServerType.xml"_s)));
        else
            f.dir.write(u"xml/webServerType.xml"_s, file);

        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnDetectiveWebServerType"));
        QCOMPARE(boxes.shown(), QStringList{kBrokenFile});
        QCOMPARE(server.connectionCount(), 2);
        QCOMPARE(f.result(), u"甲"_s);
        QVERIFY(f.buttonsUsable());
    }

    void failedRequestNamesNothingEvenAfterAnAnswer()
    {
        ScriptedServer server;
        server.addReply(Reply("HTTP/1.0 200 OK", "Server: Delta\r\n"));
        server.addReply(QByteArray(), ScriptedServer::Mode::CloseAtOnce);
        DetectionFixture f;
        QCOMPARE(f.detect(server), u"丁"_s);
        // Nothing listens there: the earlier reply's header must not name it, and no message.
        QCOMPARE(f.detect(u"127.0.0.1:1"_s), u"未知"_s);
        QCOMPARE(f.detect(QString()), u"未知"_s);
        // The answering address now hangs up at once.
        QCOMPARE(f.detect(server), u"未知"_s);
        QCOMPARE(server.connectionCount(), 2);
        QVERIFY(f.buttonsUsable());
    }

    void silentAddressEndsAtTheTimeOutWithBothButtonsDisabledMeanwhile()
    {
        ScriptedServer server;
        server.addReply(QByteArray(), ScriptedServer::Mode::ReplyAndKeepOpen);
        DetectionFixture f;
        f.info.InetTimeOut = 300;
        bool disabledMeanwhile = false;
        QTimer::singleShot(100, [&] {
            disabledMeanwhile = !f.button("btnDetectiveWebServerType")->isEnabled() &&
                                !f.button("btnOK")->isEnabled();
            // Publishing switched off and on again must not free the button early.
            f.box("chkWebIsOpen")->setChecked(false);
            f.box("chkWebIsOpen")->setChecked(true);
            disabledMeanwhile =
                disabledMeanwhile && !f.button("btnDetectiveWebServerType")->isEnabled();
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(f.detect(server), u"未知"_s);
        // Timers may fire a little early; the point is that the wait is bounded.
        QVERIFY(clock.elapsed() >= 250);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(disabledMeanwhile);
        QVERIFY(f.buttonsUsable());
    }

    void requestGoesThroughTheProxy()
    {
        ScriptedServer proxy;
        proxy.addReply(Reply("HTTP/1.0 200 OK", "Server: Beta\r\n"));
        DetectionFixture f;
        f.info.ProxyHost = u"127.0.0.1"_s;
        f.info.ProxyPort = proxy.port();
        QCOMPARE(f.detect(u"www.example.cn/site"_s), u"乙"_s);
        QCOMPARE(proxy.connectionCount(), 1);
        QVERIFY(
            proxy.requests().first().startsWith("HEAD http://www.example.cn/site HTTP/1.0\r\n"));
    }

    void resultStaysAcrossShowings()
    {
        ScriptedServer server;
        server.addReply(Reply("HTTP/1.0 200 OK", "Server: Gamma\r\n"));
        DetectionFixture f;
        QCOMPARE(f.detect(server), u"丙"_s);
        f.dialog.reject();
        f.show();
        QCOMPARE(f.result(), u"丙"_s);
    }
};

QTEST_MAIN(DetectionTest)
#include "detection_test.moc"
