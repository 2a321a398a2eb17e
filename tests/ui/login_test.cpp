// The login dialog against a scripted service: what it shows, what it filters, how it logs in.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "tests/protocol/fakeservice.h"
#include "tests/ui/recordingplatform.h"
#include "tests/ui/uitestsupport.h"
#include "ui/artwork/artwork.h"
#include "ui/login/loginwindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList kBusyControls = {
    QStringLiteral("btnLogin"),   QStringLiteral("btnCancel"), QStringLiteral("btnRegister"),
    QStringLiteral("btnOptions"), QStringLiteral("edtLogid"),  QStringLiteral("edtPassword"),
};

// A login dialog whose service is a scripted server on loopback.
struct LoginFixture
{
    LoginFixture() { service.info.ClientVersion = TClientServiceInfo::kClientVersion; }

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return dialog.findChild<T *>(name);
    }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(QLatin1String(name)); }
    QString status() const { return child<QLabel>(QStringLiteral("dispStatus"))->text(); }
    QString domain() const { return child<QLabel>(QStringLiteral("dispDomain"))->text(); }
    // Which of the six controls a login disables are enabled, in their order.
    QList<bool> controlsEnabled() const
    {
        QList<bool> enabled;
        for (const QString &name : kBusyControls)
            enabled.append(child(name)->isEnabled());
        return enabled;
    }
    bool showsOnline() const
    {
        return child<QLabel>(QStringLiteral("imgConnection"))->pixmap().toImage() ==
               Artwork::ConnectionPicture(true).toImage();
    }
    // Shown and active, as a modal dialog is, so that its shortcuts work.
    void show()
    {
        dialog.show();
        dialog.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&dialog);
    }
    void reshow()
    {
        dialog.hide();
        show();
    }
    // The settings as the next start would read them.
    std::unique_ptr<TClientServiceInfo> stored() const
    {
        auto info = std::make_unique<TClientServiceInfo>();
        InitializeClientState(*info, service.dir.path(), QStringLiteral("/opt/marbello/marbello"));
        LoadConfig(*info);
        return info;
    }

    FakeServiceFixture service;
    RecordingPlatform platform;
    TfrmLogin dialog{service.info, platform};
};

// Drags `text` over `widget` and drops it, as the window system delivers a drop.
void DropText(QWidget *widget, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
}

const QList<bool> kAllEnabled(6, true);
const QList<bool> kAllDisabled(6, false);

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showingFillsTheDialogFromTheClientState()
    {
        LoginFixture f;
        f.service.info.LastLogid = QStringLiteral("abc");
        f.service.info.LastPassword = QStringLiteral("pw1");
        f.service.info.AutoLogin = true;
        f.service.info.AutoRun = false;
        f.show();
        QCOMPARE(f.edit("edtLogid")->text(), QStringLiteral("abc"));
        QCOMPARE(f.edit("edtPassword")->text(), QStringLiteral("pw1"));
        QCOMPARE(f.edit("edtPassword")->echoMode(), QLineEdit::Password);
        QVERIFY(f.child<QCheckBox>(QStringLiteral("chkAutoLogin"))->isChecked());
        QVERIFY(!f.child<QCheckBox>(QStringLiteral("chkAutoRun"))->isChecked());
        QCOMPARE(f.child<QLabel>(QStringLiteral("dispVersion"))->text(), QStringLiteral("v 0.994"));
        QCOMPARE(f.status(), QStringLiteral("尚未登录"));
        // The domain is the service's host name without its port.
        QCOMPARE(f.domain(), QStringLiteral("abc@127.0.0.1"));
        QVERIFY(!f.showsOnline());

        f.service.info.State = StateOnline;
        f.reshow();
        QCOMPARE(f.status(), QStringLiteral("登录成功"));
        QVERIFY(f.showsOnline());
    }

    void withoutAutoLoginATypedPasswordStaysAndHasTheFocus()
    {
        LoginFixture f;
        f.service.info.LastPassword = QStringLiteral("stored");
        f.show();
        QCOMPARE(f.edit("edtPassword")->text(), QString());
        QCOMPARE(f.dialog.focusWidget(), f.edit("edtPassword"));
        QTest::keyClicks(f.edit("edtPassword"), QStringLiteral("typed1"));
        f.reshow();
        QCOMPARE(f.edit("edtPassword")->text(), QStringLiteral("typed1"));
        QCOMPARE(f.dialog.focusWidget(), f.edit("edtLogid"));
    }

    void aPresetFailureIsShownOnceAfterTheShowingSteps()
    {
        LoginFixture f;
        f.service.info.LastLogid = QStringLiteral("last");
        f.dialog.presetFailure(QStringLiteral("cmd-id"), QStringLiteral("cmd pw"),
                               QStringLiteral("登录失败: 密码错误"));
        f.show();
        QCOMPARE(f.edit("edtLogid")->text(), QStringLiteral("cmd-id"));
        QCOMPARE(f.edit("edtPassword")->text(), QStringLiteral("cmd pw"));
        QCOMPARE(f.status(), QStringLiteral("登录失败: 密码错误"));
        QCOMPARE(f.domain(), QStringLiteral("cmd-id@127.0.0.1"));
        f.reshow();
        QCOMPARE(f.edit("edtLogid")->text(), QStringLiteral("last"));
        QCOMPARE(f.status(), QStringLiteral("尚未登录"));
    }

    void theIdTakesOnlyItsCharactersTypedPastedOrDropped()
    {
        LoginFixture f;
        f.show();
        QLineEdit *id = f.edit("edtLogid");
        QTest::keyClicks(id, QStringLiteral("ab"));
        QCOMPARE(f.domain(), QStringLiteral("ab@127.0.0.1"));
        QTest::keyClick(id, Qt::Key_Backspace);
        QCOMPARE(f.domain(), QStringLiteral("a@127.0.0.1"));
        TypeText(id, QStringLiteral(".b c!中_-Z9@"));
        QCOMPARE(id->text(), QStringLiteral("abc_-Z9"));
        QCOMPARE(f.domain(), QStringLiteral("abc_-Z9@127.0.0.1"));

        QGuiApplication::clipboard()->setText(QStringLiteral("x y"));
        QTest::keyClick(id, Qt::Key_V, Qt::ControlModifier);
        id->paste(); // what the context menu's Paste does
        QCOMPARE(id->text(), QStringLiteral("abc_-Z9"));
        QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
        QTest::keyClick(id, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(id->text(), QStringLiteral("abc_-Z9xy"));

        DropText(id, QStringLiteral("张三"));
        QCOMPARE(id->text(), QStringLiteral("abc_-Z9xy"));
        // At most the 20 bytes the client state keeps.
        QTest::keyClick(id, Qt::Key_End);
        QTest::keyClicks(id, QStringLiteral("0123456789abcdef"));
        QCOMPARE(id->text(), QStringLiteral("abc_-Z9xy0123456789a"));
    }

    // What the client state holds (up to 20 bytes, characters the id's filter refuses
    // included) is shown whole and logs in; the status shows the service's text as it is.
    void theStoredLoginIsTakenAsItIs()
    {
        LoginFixture f;
        f.service.server.addReply(
            StatusReply(u"Result=\"0\" Reason=\"&lt;b&gt;粗&lt;/b&gt;&lt;img src='a.png'&gt;\""_s));
        f.service.info.LastLogid = u"abcdefghij0123456789"_s;
        f.service.info.LastPassword = u"密码密码密码密码密码"_s; // 20 bytes
        f.service.info.AutoLogin = true;
        f.show();
        QCOMPARE(f.edit("edtLogid")->text(), u"abcdefghij0123456789"_s);
        QCOMPARE(f.edit("edtPassword")->text(), u"密码密码密码密码密码"_s);
        QTest::keyClicks(f.edit("edtPassword"), u"x"_s);
        QCOMPARE(f.edit("edtPassword")->text(), u"密码密码密码密码密码"_s);
        f.edit("edtPassword")->setText(u"密码密码密码密码密"_s);
        QTest::keyClick(f.edit("edtPassword"), Qt::Key_End);
        QTest::keyClicks(f.edit("edtPassword"), u"xyz"_s);
        QCOMPARE(f.edit("edtPassword")->text(), u"密码密码密码密码密xy"_s);

        f.service.info.LastLogid = u"a.b"_s;
        f.service.info.LastPassword = u"pw"_s;
        f.reshow();
        QCOMPARE(f.domain(), u"a.b@127.0.0.1"_s);
        QTest::keyClick(f.edit("edtLogid"), Qt::Key_Return);
        QCOMPARE(f.service.server.connectionCount(), 1);
        QVERIFY(f.service.requestTarget(0).contains("logid=a.b&password=pw&"));
        for (const char *name : {"dispStatus", "dispDomain"})
            QCOMPARE(f.child<QLabel>(QLatin1String(name))->textFormat(), Qt::PlainText);
        QCOMPARE(f.status(), u"登录失败: <b>粗</b><img src='a.png'>"_s);
    }

    // Enter acts only with both edits filled; a login that is not accepted says why and leaves
    // the dialog open and ready.
    void loginsThatDoNotSucceed()
    {
        const QByteArray refused = StatusReply(u"Result=\"0\" Reason=\"密码错误\""_s);
        const struct
        {
            const char *row;
            QString id, password;
            const char *pressed; // Enter in an edit, or a click on the button
            QByteArray reply;
            int connections;
            QString status;
        } cases[] = {
            {"no password", u"abc"_s, QString(), "edtLogid", refused, 0, u"尚未登录"_s},
            {"no id", QString(), u"pw"_s, "edtPassword", refused, 0, u"尚未登录"_s},
            {"blank password", u"abc"_s, u"   "_s, "edtPassword", refused, 0,
             u"请输入用户名及密码"_s},
            {"refused", u"abc"_s, u"pw"_s, "edtLogid", refused, 1, u"登录失败: 密码错误"_s},
            {"no answer", u"abc"_s, u"pw"_s, "btnLogin", QByteArray(), 1,
             u"登录失败: 无法连接服务器，请检查Internet连接"_s},
        };
        for (const auto &c : cases) {
            LoginFixture f;
            f.service.server.addReply(c.reply, c.reply.isEmpty()
                                                   ? ScriptedServer::Mode::CloseAtOnce
                                                   : ScriptedServer::Mode::ReplyAndClose);
            f.show();
            QTest::keyClicks(f.edit("edtLogid"), c.id);
            QTest::keyClicks(f.edit("edtPassword"), c.password);
            QWidget *pressed = f.child(QLatin1String(c.pressed));
            if (qobject_cast<QLineEdit *>(pressed))
                QTest::keyClick(pressed, Qt::Key_Return);
            else
                QTest::mouseClick(pressed, Qt::LeftButton);
            QVERIFY2(f.service.server.connectionCount() == c.connections, c.row);
            QCOMPARE(f.status(), c.status);
            QVERIFY2(f.dialog.isVisible() && f.controlsEnabled() == kAllEnabled, c.row);
            QVERIFY(!f.showsOnline());
            QVERIFY(f.platform.opened.isEmpty());
        }
    }

    void anAcceptedLoginOpensThePagesShowsSuccessAndCloses()
    {
        LoginFixture f;
        f.service.server.addReply(StatusReply(AcceptedLogin(60, QStringLiteral("1.5"))));
        f.service.info.OpenWebAfterLogin = true;
        f.service.info.WebISOpen = true;
        QStringList statusAtOpen;
        QList<QList<bool>> controlsAtOpen;
        QElapsedTimer sinceDownload;
        qint64 waitedBeforeSite = 0;
        f.platform.onOpen = [&](const QString &url) {
            statusAtOpen.append(f.status());
            controlsAtOpen.append(f.controlsEnabled());
            if (url.endsWith(QLatin1String("/download/")))
                sinceDownload.start();
            else
                waitedBeforeSite = sinceDownload.elapsed();
        };
        f.show();
        QTest::keyClicks(f.edit("edtLogid"), QStringLiteral("abc"));
        QTest::keyClicks(f.edit("edtPassword"), QStringLiteral("pw"));
        QTest::mouseClick(f.child(QStringLiteral("btnLogin")), Qt::LeftButton);

        QCOMPARE(f.platform.opened,
                 QStringList({f.service.info.serviceUrl(QStringLiteral("/download/")),
                              QStringLiteral("http://x/~abc")}));
        QCOMPARE(statusAtOpen,
                 QStringList({QStringLiteral("登录中..."), QStringLiteral("登录成功")}));
        QCOMPARE(controlsAtOpen, QList<QList<bool>>({kAllDisabled, kAllDisabled}));
        QVERIFY(waitedBeforeSite >= 450);
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.controlsEnabled(), kAllEnabled);
        QCOMPARE(quint8(f.service.info.State), quint8(StateOnline));
        QVERIFY(f.showsOnline());
        // Closing saved the login.
        QCOMPARE(f.stored()->LastLogid.text(), QStringLiteral("abc"));
    }

    void autoRunSavesAtOnceAutoLoginOnClose()
    {
        LoginFixture f;
        f.service.info.LastLogid = QStringLiteral("abc");
        f.service.info.LastPassword = QStringLiteral("pw");
        f.service.info.AutoRun = true;
        f.show();
        QTest::mouseClick(f.child(QStringLiteral("chkAutoRun")), Qt::LeftButton, {}, {5, 8});
        QVERIFY(!f.service.info.AutoRun);
        QVERIFY(!f.stored()->AutoRun);
        QTest::mouseClick(f.child(QStringLiteral("chkAutoLogin")), Qt::LeftButton, {}, {5, 8});
        QVERIFY(f.service.info.AutoLogin);
        QVERIFY(!f.stored()->AutoLogin);
        QTest::keyClick(&f.dialog, Qt::Key_Escape);
        QVERIFY(!f.dialog.isVisible());
        QVERIFY(f.stored()->AutoLogin);
    }

    void everyWayOfClosingSavesTheConfiguration()
    {
        LoginFixture f;
        const QString config = f.service.dir.file(QStringLiteral("config.xml"));
        const std::function<void()> ways[] = {
            [&] { QTest::keyClick(&f.dialog, Qt::Key_Escape); },
            [&] { QTest::mouseClick(f.child(QStringLiteral("btnCancel")), Qt::LeftButton); },
            [&] { QTest::mouseClick(f.child(QStringLiteral("imgFormClose")), Qt::LeftButton); },
        };
        for (const auto &close : ways) {
            f.show();
            QFile::remove(config);
            close();
            QVERIFY(!f.dialog.isVisible());
            QVERIFY(QFile::exists(config));
        }
    }

    void theOtherButtonsLeadElsewhere()
    {
        LoginFixture f;
        f.show();
        QSignalSpy registration(&f.dialog, &TfrmLogin::registerRequested);
        QSignalSpy options(&f.dialog, &TfrmLogin::optionsRequested);
        QTest::mouseClick(f.child(QStringLiteral("btnRegister")), Qt::LeftButton);
        QTest::mouseClick(f.child(QStringLiteral("btnOptions")), Qt::LeftButton);
        QTest::mouseClick(f.child(QStringLiteral("lblHelp")), Qt::LeftButton);
        QCOMPARE(registration.count(), 1);
        QCOMPARE(options.count(), 1);
        QCOMPARE(f.platform.opened,
                 QStringList({f.service.info.serviceUrl(QStringLiteral("/kbz/help"))}));
    }
};

QTEST_MAIN(LoginTest)
#include "login_test.moc"
