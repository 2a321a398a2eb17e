// The registration form: its rule for OK, its key filters, and each way a registration ends.
#include "core/cp936.h"
#include "tests/protocol/fakeservice.h"
#include "tests/ui/uitestsupport.h"
#include "ui/register/registerwindow.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct Fields
{
    QString id = u"new-user_1"_s;
    QString password = u"pw1"_s;
    QString repeat = u"pw1"_s;
    QString name = u"张三 A&B=C"_s;
    QString email = u"zhang.san@example-mail.cn"_s;
};

struct RegisterFixture
{
    RegisterFixture() { show(); }

    // Shown and active, as a modal dialog is, so that its shortcuts work.
    void show()
    {
        dialog.show();
        dialog.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&dialog);
    }
    QWidget *child(const char *name) const
    {
        return dialog.findChild<QWidget *>(QLatin1String(name));
    }
    QLineEdit *edit(const char *name) const
    {
        return dialog.findChild<QLineEdit *>(QLatin1String(name));
    }
    bool buttonsEnabled() const
    {
        return child("btnOK")->isEnabled() && child("btnClose")->isEnabled();
    }

    // Every field as a user would type it.
    void fill(const Fields &fields = {}) const
    {
        TypeText(edit("edtLogid"), fields.id);
        TypeText(edit("edtPassword"), fields.password);
        TypeText(edit("edtRepeatPassword"), fields.repeat);
        TypeText(edit("edtName"), fields.name);
        TypeText(edit("edtAddress"), u" 北京 x=1&y=2 "_s);
        TypeText(edit("edtPostalCode"), u"100080"_s);
        TypeText(edit("edtTelephone"), u"010-1234"_s);
        TypeText(edit("edtICNO"), u"110105"_s);
        TypeText(edit("edtEmail"), fields.email);
    }
    QStringList clickOK()
    {
        boxes.answer({0});
        QTest::mouseClick(child("btnOK"), Qt::LeftButton);
        return boxes.shown();
    }

    FakeServiceFixture service;
    ArmedMessageBoxes boxes;
    TfrmRegister dialog{service.info};
};

} // namespace

class RegisterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okNeedsThreeCharactersOfIdAndPasswordsAndANameAndAnAddress()
    {
        const struct
        {
            const char *row;
            Fields fields;
            bool enabled;
        } cases[] = {
            {"three letters", {u"abc"_s}, true},
            {"two letters", {u"ab"_s}, false},
            {"blank passwords", {u"abc"_s, u"   "_s, u"   "_s}, false},
            {"short repeat", {u"abc"_s, u"pw1"_s, u" pw "_s}, false},
            {"blank name", {u"abc"_s, u"pw1"_s, u"pw1"_s, u"  "_s}, false},
            {"no email", {u"abc"_s, u"pw1"_s, u"pw1"_s, u"张"_s, QString()}, false},
            // A mismatch and a bad address are for OK to report.
            {"mismatch", {u"abc"_s, u"pw1"_s, u"pw2"_s, u"张"_s, u"x"_s}, true},
        };
        for (const auto &c : cases) {
            RegisterFixture f;
            QVERIFY(!f.child("btnOK")->isEnabled());
            f.fill(c.fields);
            QVERIFY2(f.child("btnOK")->isEnabled() == c.enabled, c.row);
            // Kept, and judged again, at the next showing.
            f.dialog.hide();
            f.show();
            QVERIFY2(f.child("btnOK")->isEnabled() == c.enabled, c.row);
            QCOMPARE(f.edit("edtLogid")->text(), c.fields.id);
        }
    }

    void keyFiltersDiscardWhatTheirFieldCannotHold()
    {
        const struct
        {
            const char *edit;
            QString typed, kept, refusedPaste;
        } cases[] = {
            {"edtLogid", u"Ab_-9!. 中x"_s, u"Ab_-9x"_s, u"a b"_s},
            {"edtPostalCode", u"1a2-3 4中56789"_s, u"123456"_s, u"1-2"_s},
            {"edtTelephone", u"010-1a2 3中4"_s, u"010-1234"_s, u"0 1"_s},
            {"edtEmail", u"a b中@x-y.cn"_s, u"ab@x-y.cn"_s, u"张@x.cn"_s},
            {"edtName", u"张 三&="_s, u"张 三&="_s, QString()},
        };
        RegisterFixture f;
        for (const auto &c : cases) {
            QLineEdit *field = f.edit(c.edit);
            TypeText(field, c.typed);
            QCOMPARE(field->text(), c.kept);
            if (c.refusedPaste.isNull())
                continue;
            field->clear();
            QGuiApplication::clipboard()->setText(c.refusedPaste);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            field->paste(); // the context menu's Paste
            QCOMPARE(field->text(), QString());
            QGuiApplication::clipboard()->setText(u"12"_s);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(field->text(), u"12"_s);
        }
    }

    void anAcceptedRegistrationPostsTheExactBodyAndCloses()
    {
        RegisterFixture f;
        f.service.server.addReply(StatusReply(u"Result=\"1\""_s));
        f.fill();
        QTest::mouseClick(f.child("rdoFemale"), Qt::LeftButton, {}, {4, 8});
        QTest::keyClick(f.child("cboLocation"), Qt::Key_Down);
        QCOMPARE(f.clickOK(), QStringList({u"注册|恭喜，注册成功"_s}));
        QVERIFY(!f.dialog.isVisible());
        QVERIFY(!f.service.dir.exists(u"tempreg.txt"_s));

        const QByteArray body = cp936::encode(
            u"logid=new-user_1\r\n&password=pw1\r\n&name=张三+A%26B%3DC\r\n&sex=1\r\n"
            u"&Birthday=1977-6-2\r\n&Location=中国港台地区\r\n&address=北京+x%3D1%26y%3D2\r\n"
            u"&postalCode=100080\r\n&telephone=010-1234\r\n&icno=110105\r\n"
            u"&email=zhang.san@example-mail.cn\r\n&IsFromClient=1\r\n");
        QCOMPARE(f.service.server.requests().value(0),
                 "POST /user/UserRegisterDo.asp HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                 "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                 "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
                 "Content-type: application/x-www-form-urlencoded\r\n"
                 "Content-Length: " +
                     QByteArray::number(body.size()) + "\r\n\r\n" + body);
        f.show();
        QCOMPARE(f.edit("edtLogid")->text(), u"new-user_1"_s);
        QVERIFY(f.buttonsEnabled());
    }

    void aRegistrationIsSentOnceWhateverIsTypedMeanwhile()
    {
        RegisterFixture f;
        // Sent a byte per millisecond, the answer keeps the exchange open for a while.
        f.service.server.addReply(StatusReply(u"Result=\"0\" Reason=\"busy\""_s),
                                  ScriptedServer::Mode::OneByteAtATime);
        f.fill();
        bool ran = false;
        QTimer::singleShot(30, [&] {
            for (const char *name : {"edtName", "edtLogid"}) {
                QTest::keyClick(f.edit(name), Qt::Key_End);
                TypeText(f.edit(name), u"2"_s);
            }
            QVERIFY(!f.child("btnOK")->isEnabled());
            QVERIFY(!f.child("btnClose")->isEnabled());
            // Neither a click nor the accessibility bus's press gets a second one out.
            QTest::mouseClick(f.child("btnOK"), Qt::LeftButton);
            if (QAccessibleInterface *button =
                    QAccessible::queryAccessibleInterface(f.child("btnOK"));
                button && button->actionInterface())
                button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            ran = true;
        });
        QCOMPARE(f.clickOK(), QStringList({u"注册|注册失败：busy"_s}));
        QVERIFY(ran);
        QTest::qWait(50);
        QCOMPARE(f.service.server.connectionCount(), 1);
        // Once it has ended, the rule applies again.
        QVERIFY(f.buttonsEnabled());
        f.edit("edtName")->clear();
        QVERIFY(!f.child("btnOK")->isEnabled());
    }

    // Every other end: a box that says why, the form kept and ready, and no body file left.
    void aFailedRegistrationSaysWhyAndKeepsTheForm()
    {
        const QByteArray accepted = StatusReply(u"Result=\"1\""_s);
        const struct
        {
            const char *row;
            Fields fields;
            QByteArray reply;
            bool blockBodyFile;
            int connections;
            QString box;
            const char *focus;
        } cases[] = {
            // Compared as typed, although both are sent trimmed.
            {"password mismatch",
             {u"abc"_s, u"pw1 "_s, u"pw1"_s},
             accepted,
             false,
             0,
             u"错误|密码与确认密码不一致"_s,
             "edtPassword"},
            {"bad address",
             {.email = u"zhang@localhost"_s},
             accepted,
             false,
             0,
             u"错误|Email不正确"_s,
             "edtEmail"},
            {"no answer",
             {},
             QByteArray(),
             false,
             1,
             u"错误|无法连接服务器，请检查Internet连接"_s,
             nullptr},
            {"refused",
             {},
             StatusReply(u"Result=\"0\" Reason=\"用户名已被注册\""_s),
             false,
             1,
             u"注册|注册失败：用户名已被注册"_s,
             nullptr},
            {"unreadable",
             {},
             "HTTP/1.0 200 OK\r\n\r\n<html>oops</html>",
             false,
             1,
             u"错误|服务器发生故障，请稍后再试"_s,
             nullptr},
            {"refused without a reason",
             {},
             StatusReply(u"Result=\"0\""_s),
             false,
             1,
             u"错误|服务器发生故障，请稍后再试"_s,
             nullptr},
            {"body file not writable",
             {},
             accepted,
             true,
             0,
             u"错误|无法写入tempreg.txt，请检查程序目录的权限"_s,
             nullptr},
        };
        for (const auto &c : cases) {
            RegisterFixture f;
            f.service.server.addReply(c.reply, c.reply.isEmpty()
                                                   ? ScriptedServer::Mode::CloseAtOnce
                                                   : ScriptedServer::Mode::ReplyAndClose);
            if (c.blockBodyFile)
                QVERIFY(QDir(f.service.dir.path()).mkpath(u"tempreg.txt/x"_s));
            f.fill(c.fields);
            QCOMPARE(f.clickOK(), QStringList({c.box}));
            QVERIFY2(f.service.server.connectionCount() == c.connections, c.row);
            QVERIFY2(f.dialog.isVisible() && f.buttonsEnabled(), c.row);
            if (c.focus)
                QCOMPARE(f.dialog.focusWidget(), f.child(c.focus));
            QCOMPARE(f.edit("edtName")->text(), c.fields.name);
            QVERIFY2(QFileInfo(f.service.dir.file(u"tempreg.txt"_s)).isDir() == c.blockBodyFile,
                     c.row);
        }
    }
};

QTEST_MAIN(RegisterTest)
#include "register_test.moc"
