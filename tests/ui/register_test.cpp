// The registration form: its rule for OK, its key filters, and each way a registration ends.
#include "core/cp936.h"
#include "protocol/registration.h"
#include "tests/protocol/fakeservice.h"
#include "tests/ui/uitestsupport.h"
#include "ui/register/registerwindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kRequestHeader =
    "Host: 127.0.0.1\r\n"
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
    "Content-type: application/x-www-form-urlencoded\r\n";

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

    template <typename T = QWidget> T *child(const char *name) const
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }
    bool okEnabled() const { return child("btnOK")->isEnabled(); }
    bool closeEnabled() const { return child("btnClose")->isEnabled(); }
    void type(const char *editName, const QString &text) const { TypeText(edit(editName), text); }

    // Every field as a user would fill it in.
    void fill(const QString &password = QStringLiteral("pw1"),
              const QString &repeat = QStringLiteral("pw1"),
              const QString &email = QStringLiteral("zhang.san@example-mail.cn")) const
    {
        type("edtLogid", QStringLiteral("new-user_1"));
        type("edtPassword", password);
        type("edtRepeatPassword", repeat);
        type("edtName", QStringLiteral("张三 A&B=C"));
        type("edtAddress", QStringLiteral(" 北京 x=1&y=2 "));
        type("edtPostalCode", QStringLiteral("100080"));
        type("edtTelephone", QStringLiteral("010-1234"));
        type("edtICNO", QStringLiteral("110105"));
        type("edtEmail", email);
    }
    void clickOK() const { QTest::mouseClick(child("btnOK"), Qt::LeftButton); }
    bool tempFileExists() const { return service.dir.exists(QStringLiteral("tempreg.txt")); }

    FakeServiceFixture service;
    ArmedMessageBoxes boxes;
    TfrmRegister dialog{service.info};
};

} // namespace

class RegisterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okNeedsThreeCharactersOfIdAndPasswordsAndANameAndAnAddress_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("all filled") << "abc"
                                    << "pw1"
                                    << "pw1"
                                    << "张"
                                    << "a@b.cn" << true;
        QTest::newRow("two letter id") << "ab"
                                       << "pw1"
                                       << "pw1"
                                       << "张"
                                       << "a@b.cn" << false;
        QTest::newRow("blank password") << "abc"
                                        << "   "
                                        << "   "
                                        << "张"
                                        << "a@b.cn" << false;
        QTest::newRow("short repeat") << "abc"
                                      << "pw1"
                                      << " pw "
                                      << "张"
                                      << "a@b.cn" << false;
        QTest::newRow("blank name") << "abc"
                                    << "pw1"
                                    << "pw1"
                                    << "  "
                                    << "a@b.cn" << false;
        QTest::newRow("no email") << "abc"
                                  << "pw1"
                                  << "pw1"
                                  << "张"
                                  << "" << false;
        // A mismatch and an invalid address are for OK to report.
        QTest::newRow("mismatch") << "abc"
                                  << "pw1"
                                  << "pw2"
                                  << "张"
                                  << "x" << true;
    }

    void okNeedsThreeCharactersOfIdAndPasswordsAndANameAndAnAddress()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, repeat);
        QFETCH(QString, name);
        QFETCH(QString, email);
        QFETCH(bool, enabled);
        RegisterFixture f;
        QVERIFY(!f.okEnabled());
        f.type("edtLogid", id);
        f.type("edtPassword", password);
        f.type("edtRepeatPassword", repeat);
        f.type("edtName", name);
        f.type("edtEmail", email);
        QCOMPARE(f.okEnabled(), enabled);
        f.dialog.hide();
        f.show();
        QCOMPARE(f.okEnabled(), enabled);
        QCOMPARE(f.edit("edtLogid")->text(), id);
    }

    void keyFiltersDiscardWhatTheirFieldCannotHold_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("refusedPaste");
        QTest::newRow("id") << "edtLogid"
                            << "Ab_-9!. 中x"
                            << "Ab_-9x"
                            << "a b";
        QTest::newRow("postal code") << "edtPostalCode"
                                     << "1a2-3 4中56789"
                                     << "123456"
                                     << "1-2";
        QTest::newRow("telephone") << "edtTelephone"
                                   << "010-1a2 3中4"
                                   << "010-1234"
                                   << "0 1";
        QTest::newRow("email") << "edtEmail"
                               << "a b中@x-y.cn"
                               << "ab@x-y.cn"
                               << "张@x.cn";
        QTest::newRow("name") << "edtName"
                              << "张 三&="
                              << "张 三&=" << QString();
    }

    void keyFiltersDiscardWhatTheirFieldCannotHold()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, refusedPaste);
        RegisterFixture f;
        QLineEdit *field = f.edit(qPrintable(edit));
        TypeText(field, typed);
        QCOMPARE(field->text(), kept);
        if (refusedPaste.isNull())
            return;
        field->clear();
        QGuiApplication::clipboard()->setText(refusedPaste);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        field->paste(); // the context menu's Paste
        QCOMPARE(field->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("12"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("12"));
    }

    void theFormHasItsFixedChoicesInTabOrder()
    {
        RegisterFixture f;
        auto *birthday = f.child<QDateEdit>("dtpBirthday");
        QCOMPARE(birthday->date(), QDate(1977, 6, 2));
        QCOMPARE(birthday->minimumDate(), QDate(1920, 1, 1));
        QCOMPARE(birthday->maximumDate(), QDate(2000, 1, 1));
        auto *location = f.child<QComboBox>("cboLocation");
        QStringList items;
        for (int i = 0; i < location->count(); ++i)
            items.append(location->itemText(i));
        QCOMPARE(items, QStringList({u"中国大陆"_s, u"中国港台地区"_s, u"亚洲"_s, u"欧洲"_s,
                                     u"北美"_s, u"南美"_s, u"非洲"_s, u"大洋洲"_s}));
        QCOMPARE(location->currentIndex(), 0);
        QVERIFY(!location->isEditable());
        QVERIFY(f.child<QRadioButton>("rdoMale")->isChecked());

        const QStringList order = {u"edtLogid"_s,      u"edtPassword"_s,  u"edtRepeatPassword"_s,
                                   u"edtName"_s,       u"rdoMale"_s,      u"rdoFemale"_s,
                                   u"dtpBirthday"_s,   u"cboLocation"_s,  u"edtAddress"_s,
                                   u"edtPostalCode"_s, u"edtTelephone"_s, u"edtICNO"_s,
                                   u"edtEmail"_s,      u"btnOK"_s,        u"btnClose"_s};
        QStringList chain;
        QWidget *widget = f.edit("edtLogid");
        do {
            if (order.contains(widget->objectName()) && !chain.contains(widget->objectName()))
                chain.append(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != f.edit("edtLogid"));
        QCOMPARE(chain, order);
    }

    void passwordsAreComparedAsTyped()
    {
        RegisterFixture f;
        f.fill(QStringLiteral("pw1 "), QStringLiteral("pw1"));
        f.boxes.answer({0});
        f.clickOK();
        QCOMPARE(f.boxes.shown(), QStringList({u"错误|密码与确认密码不一致"_s}));
        QCOMPARE(f.dialog.focusWidget(), f.edit("edtPassword"));
        QVERIFY(f.okEnabled() && f.closeEnabled());
        QCOMPARE(f.service.server.connectionCount(), 0);
    }

    void anInvalidAddressIsReported()
    {
        RegisterFixture f;
        f.fill(QStringLiteral("pw1"), QStringLiteral("pw1"), QStringLiteral("zhang@localhost"));
        f.boxes.answer({0});
        f.clickOK();
        QCOMPARE(f.boxes.shown(), QStringList({u"错误|Email不正确"_s}));
        QCOMPARE(f.dialog.focusWidget(), f.edit("edtEmail"));
        QVERIFY(f.okEnabled() && f.closeEnabled());
        QCOMPARE(f.service.server.connectionCount(), 0);
    }

    void anAcceptedRegistrationPostsTheExactBodyAndCloses()
    {
        RegisterFixture f;
        f.service.server.addReply(StatusReply(QStringLiteral("Result=\"1\"")));
        f.fill();
        QTest::mouseClick(f.child("rdoFemale"), Qt::LeftButton, {}, {4, 8});
        QTest::keyClick(f.child("cboLocation"), Qt::Key_Down);
        f.boxes.answer({0});
        f.clickOK();

        QCOMPARE(f.boxes.shown(), QStringList({u"注册|恭喜，注册成功"_s}));
        QVERIFY(!f.dialog.isVisible());
        QVERIFY(!f.tempFileExists());
        const QByteArray body = cp936::encode(
            u"logid=new-user_1\r\n&password=pw1\r\n&name=张三 A&B=C\r\n&sex=1\r\n"
            u"&Birthday=1977-6-2\r\n&Location=中国港台地区\r\n&address=北京 x=1&y=2\r\n"
            u"&postalCode=100080\r\n&telephone=010-1234\r\n&icno=110105\r\n"
            u"&email=zhang.san@example-mail.cn\r\n&IsFromClient=1\r\n");
        QCOMPARE(f.service.server.requests().value(0),
                 "POST /user/UserRegisterDo.asp HTTP/1.0\r\n" + kRequestHeader +
                     "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        // The next showing still holds what was typed.
        f.show();
        QCOMPARE(f.edit("edtLogid")->text(), QStringLiteral("new-user_1"));
        QVERIFY(f.okEnabled() && f.closeEnabled());
    }

    void aFailedRegistrationSaysWhyAndKeepsTheForm_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("blockTempFile");
        QTest::addColumn<int>("connections");
        QTest::addColumn<QString>("box");
        QTest::newRow("no answer")
            << QByteArray() << false << 1 << "错误|无法连接服务器，请检查Internet连接";
        QTest::newRow("refused") << StatusReply(QStringLiteral(
                                        "Result=\"0\" Reason=\"用户名new-user_1已被注册\""))
                                 << false << 1 << "注册|注册失败：用户名new-user_1已被注册";
        QTest::newRow("unreadable") << QByteArray("HTTP/1.0 200 OK\r\n\r\n<html>oops</html>")
                                    << false << 1 << "错误|服务器发生故障，请稍后再试";
        QTest::newRow("refused without a reason")
            << StatusReply(QStringLiteral("Result=\"0\"")) << false << 1
            << "错误|服务器发生故障，请稍后再试";
        QTest::newRow("tempreg.txt not writable")
            << StatusReply(QStringLiteral("Result=\"1\"")) << true << 0
            << "错误|无法写入tempreg.txt，请检查程序目录的权限";
    }

    void aFailedRegistrationSaysWhyAndKeepsTheForm()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, blockTempFile);
        QFETCH(int, connections);
        QFETCH(QString, box);
        RegisterFixture f;
        f.service.server.addReply(reply, reply.isEmpty() ? ScriptedServer::Mode::CloseAtOnce
                                                         : ScriptedServer::Mode::ReplyAndClose);
        if (blockTempFile)
            QVERIFY(QDir(f.service.dir.path()).mkpath(QStringLiteral("tempreg.txt/x")));
        f.fill();
        f.boxes.answer({0});
        f.clickOK();
        QCOMPARE(f.boxes.shown(), QStringList({box}));
        QCOMPARE(f.service.server.connectionCount(), connections);
        QVERIFY(f.dialog.isVisible());
        QVERIFY(f.okEnabled() && f.closeEnabled());
        QCOMPARE(f.edit("edtName")->text(), QStringLiteral("张三 A&B=C"));
        QCOMPARE(f.tempFileExists(), blockTempFile);
    }

    void closeThePictureAndEscCancel()
    {
        RegisterFixture f;
        const std::function<void()> ways[] = {
            [&] { QTest::mouseClick(f.child("btnClose"), Qt::LeftButton); },
            [&] { QTest::mouseClick(f.child("imgFormClose"), Qt::LeftButton); },
            [&] { QTest::keyClick(&f.dialog, Qt::Key_Escape); },
        };
        for (const auto &close : ways) {
            f.show();
            close();
            QVERIFY(!f.dialog.isVisible());
            QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        }
    }
};

QTEST_MAIN(RegisterTest)
#include "register_test.moc"
