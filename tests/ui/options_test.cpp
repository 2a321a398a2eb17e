#include "core/config.h"
#include "core/cp936.h"
#include "tests/ui/optionsfixture.h"
#include "ui/messagebox.h"
#include "ui/options/categorychooser.h"
#include "ui/options/websitechecks.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kSaved = u"保存设置|设置已保存，请新登录服务器"_s;
const QString kSuffix = u" (\" ' ? & < > ^)"_s;

QString error(const QString &text)
{
    return u"错误|"_s + text;
}

} // namespace

class OptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksRunInOrderWithPageAndFocus()
    {
        OptionsFixture f;
        f.info.WebISOpen = true;
        f.info.WebTitle = u"旧标题"_s; // complete enough that showing asks nothing
        f.info.WebKeyword = u"k"_s;
        f.info.WebIntro = u"i"_s;
        f.info.WebAreas = u"a"_s;
        f.info.WebPort = 8080;
        ArmedMessageBoxes boxes;
        f.show();
        QVERIFY(boxes.shown().isEmpty());
        auto *pages = f.child<QTabWidget>("pgcOptions");
        QCOMPARE(pages->currentIndex(), 0);

        // Everything wrong at once: each OK names only the first fault, on page "网站设置"
        // (except the port), with the focus on the field at fault; mending it reveals the next.
        f.edit("edtWebPort")->setText(QString()); // cut away without leaving the edit
        f.edit("edtWebTitle")->setText(u"   "_s);
        f.edit("edtWebKeyword")->clear();
        f.edit("edtWebIntro")->clear();
        f.edit("edtWebAreas")->clear();
        struct Step
        {
            QString message;
            const char *focus;
            std::function<void()> mend;
        };
        const Step steps[] = {
            {u"请填写网站端口"_s, "edtWebPort",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebPort"), u"8080"_s);
                 QTest::keyClick(f.edit("edtWebPort"), Qt::Key_Tab);
             }},
            {u"请填写网站标题"_s, "edtWebTitle",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebTitle"), u"标题@"_s);
             }},
            {u"请填写网站关键字"_s, "edtWebKeyword",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebKeyword"), u"词?"_s);
             }},
            {u"请填写网站介绍"_s, "edtWebIntro",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebIntro"), u"介绍^"_s);
             }},
            {u"请填写网站类别"_s, "btnChangeWebArea",
             [&] {
                 f.edit("edtWebAreas")->setText(u"类别%"_s);
             }},
            // "@" and "%" are refused although the message does not list them.
            {u"网站名称中有非法字符"_s + kSuffix, "edtWebTitle",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebTitle"), u"  标题  "_s);
             }},
            {u"网站关键字中有非法字符"_s + kSuffix, "edtWebKeyword",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebKeyword"), u"词"_s);
             }},
            {u"网站介绍中有非法字符"_s + kSuffix, "edtWebIntro",
             [&] {
                 OptionsFixture::retype(f.edit("edtWebIntro"), u"介绍"_s);
             }},
            {u"网站类别中有非法字符"_s + kSuffix, "btnChangeWebArea",
             [&] {
                 f.edit("edtWebAreas")->setText(u"类别"_s);
             }},
        };
        for (const Step &step : steps) {
            pages->setCurrentIndex(0);
            boxes.answer({0});
            OptionsFixture::click(f.button("btnOK"));
            QCOMPARE(boxes.shown(), QStringList{error(step.message)});
            const bool portFault = QLatin1String(step.focus) == "edtWebPort"_L1;
            QCOMPARE(pages->currentIndex(), portFault ? 0 : 1);
            QCOMPARE(QApplication::focusWidget(), f.child(step.focus));
            QVERIFY(f.dialog.isVisible());
            QCOMPARE(f.info.WebTitle.text(), u"旧标题"_s);
            step.mend();
        }
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(boxes.shown(), QStringList{kSaved});
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.info.WebTitle.text(), u"标题"_s);
        QCOMPARE(f.info.WebPort, 8080);
    }

    void portCheckRefusesOnlyAMissingOrTooLargeChangedPort()
    {
        const auto fault = [](bool changePort, const QString &port) {
            const auto found =
                FirstWebSiteFault({changePort, port, u"t"_s, u"k"_s, u"i"_s, u"a"_s});
            return found ? found->text : QString();
        };
        const QString missing = u"请填写网站端口"_s;
        // Too large only when the focus never left the edit (a paste): leaving it gives "80".
        QCOMPARE(fault(true, QString()), missing);
        QCOMPARE(fault(true, u"99999"_s), missing);
        QCOMPARE(fault(true, u"65536"_s), missing);
        QCOMPARE(fault(true, u"65535"_s), QString());
        // OK stores 80 for these.
        QCOMPARE(fault(true, u"0"_s), QString());
        QCOMPARE(fault(true, u"8o8"_s), QString());
        QCOMPARE(fault(false, QString()), QString());
        QCOMPARE(PortToStore(true, u"0"_s), 80);
        QCOMPARE(PortToStore(true, u"8o8"_s), 80);
        QCOMPARE(PortToStore(true, u"65536"_s), 80);
        QCOMPARE(PortToStore(false, u"8080"_s), 80);
        QCOMPARE(PortToStore(true, u"8080"_s), 8080);
    }

    void showingWithAnIncompleteSiteComplainsAtOnce()
    {
        OptionsFixture f;
        f.describeSite();
        f.info.WebTitle = QString();
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        f.show();
        QStringList shown;
        QTRY_VERIFY(!(shown += boxes.shown()).isEmpty());
        QCOMPARE(shown, QStringList{error(u"请填写网站标题"_s)});
        QCOMPARE(f.child<QTabWidget>("pgcOptions")->currentIndex(), 1);
        QTRY_COMPARE(QApplication::focusWidget(), f.child("edtWebTitle"));
    }

    void showingLoadsTheStateAndKeepsAnUnknownTimeOutChoice()
    {
        OptionsFixture f;
        f.info.InetTimeOut = 6000;
        f.info.WebPort = 8080; // publishing off: the box is checked, the edit stays disabled
        f.info.IfLog = true;
        f.info.OpenWebAfterLogin = true;
        f.info.NotLoginURL = u"www.example.cn/away"_s;
        f.show();
        auto *timeOut = f.child<QComboBox>("cboInetTimeOut");
        QCOMPARE(timeOut->currentText(), u"6000"_s);
        QCOMPARE(f.child<QLabel>("dispServerIP")->text(), u"http://127.0.0.1:8080"_s);
        QVERIFY(f.box("chkIfLog")->isChecked());
        QVERIFY(f.box("chkOpenWebAfterLogin")->isChecked());
        QVERIFY(!f.box("chkAutoRun")->isChecked());
        QCOMPARE(f.edit("edtNotLoginURL")->text(), u"www.example.cn/away"_s);
        QVERIFY(f.box("chkChangePort")->isChecked());
        QVERIFY(!f.box("chkChangePort")->isEnabled());
        QVERIFY(!f.edit("edtWebPort")->isEnabled());
        QVERIFY(!f.button("btnDetectiveWebServerType")->isEnabled());

        // Publishing on enables the port box, and with it the edit.
        OptionsFixture::click(f.box("chkWebIsOpen"));
        QVERIFY(f.box("chkChangePort")->isEnabled());
        QVERIFY(f.edit("edtWebPort")->isEnabled());
        QVERIFY(f.button("btnDetectiveWebServerType")->isEnabled());

        f.dialog.reject();
        f.info.InetTimeOut = 4500;
        f.show();
        QCOMPARE(timeOut->currentText(), u"6000"_s);
        QCOMPARE(f.child<QTabWidget>("pgcOptions")->currentIndex(), 0);
    }

    void portRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("changed");
        QTest::newRow("emptied") << QString() << u"80"_s << false;
        QTest::newRow("zero") << u"0"_s << u"80"_s << false;
        QTest::newRow("80") << u"80"_s << u"80"_s << false;
        QTest::newRow("8080") << u"8080"_s << u"8080"_s << true;
        QTest::newRow("letters dropped") << u"8a0-8 0"_s << u"8080"_s << true;
        QTest::newRow("five digits at most") << u"1234567"_s << u"12345"_s << true;
        QTest::newRow("above 65535") << u"99999"_s << u"80"_s << false;
        QTest::newRow("leading zeros") << u"00081"_s << u"81"_s << true;
    }

    void portRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QFETCH(bool, changed);
        OptionsFixture f;
        f.describeSite();
        f.info.WebPort = 8000;
        f.show();
        QLineEdit *port = f.edit("edtWebPort");
        QVERIFY(port->isEnabled());
        OptionsFixture::retype(port, typed);
        QTest::keyClick(port, Qt::Key_Tab);
        QCOMPARE(port->text(), left);
        QCOMPARE(f.box("chkChangePort")->isChecked(), changed);
        QCOMPARE(port->isEnabled(), changed);

        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(boxes.shown(), QStringList{kSaved});
        QCOMPARE(f.info.WebPort, left.toInt());
    }

    void pastedPortTextAndUncheckingTheBoxGiveTheDefault()
    {
        OptionsFixture f;
        f.describeSite();
        f.info.WebPort = 8000;
        f.show();
        QLineEdit *port = f.edit("edtWebPort");
        OptionsFixture::click(port);
        QTest::keyClick(port, Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(u"8o8"_s);
        QTest::keyClick(port, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(port->text(), u"8o8"_s);
        QTest::keyClick(port, Qt::Key_Tab);
        QCOMPARE(port->text(), u"80"_s);
        QVERIFY(!f.box("chkChangePort")->isChecked());

        // The user checks the box, types a port, and unchecks it again: 80 whatever was shown.
        OptionsFixture::click(f.box("chkChangePort"));
        OptionsFixture::retype(port, u"8080"_s);
        OptionsFixture::click(f.box("chkChangePort"));
        QCOMPARE(port->text(), u"80"_s);
        QVERIFY(!port->isEnabled());
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(f.info.WebPort, 80);
    }

    void okStoresTrimmedTextsCutBetweenCharacters()
    {
        OptionsFixture f;
        f.describeSite();
        f.show();
        f.child<QTabWidget>("pgcOptions")->setCurrentIndex(1);
        OptionsFixture::retype(f.edit("edtWebTitle"), QString(30, u'网'));
        OptionsFixture::retype(f.edit("edtWebKeyword"), u"a"_s + QString(25, u'字'));
        OptionsFixture::retype(f.edit("edtWebIntro"), u"  简介  "_s);
        OptionsFixture::retype(f.edit("edtNotLoginURL"), u" www.exa mple.cn/x "_s);
        f.edit("edtWebAreas")->setText(u"计算机软件与网络服务类"_s); // 22 bytes
        f.child<QTabWidget>("pgcOptions")->setCurrentIndex(0);
        OptionsFixture::click(f.box("chkAutoRun"));
        OptionsFixture::click(f.box("chkIfLog"));
        auto *timeOut = f.child<QComboBox>("cboInetTimeOut");
        timeOut->setCurrentIndex(3);

        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(boxes.shown(), QStringList{kSaved});
        QCOMPARE(f.info.WebTitle.text(), QString(25, u'网'));
        QCOMPARE(f.info.WebKeyword.text(), u"a"_s + QString(24, u'字'));
        QCOMPARE(f.info.WebIntro.text(), u"简介"_s);
        QCOMPARE(f.info.WebAreas.text(), u"计算机软件与网络服务"_s);
        QCOMPARE(f.info.NotLoginURL, u"www.example.cn/x"_s);
        QVERIFY(f.info.AutoRun);
        QVERIFY(f.info.IfLog);
        QVERIFY(f.info.WebISDynamic);
        QCOMPARE(f.info.InetTimeOut, 7000);
        const QString saved = cp936::decode(f.dir.read(u"config.xml"_s));
        QVERIFY(saved.contains(u"WebTitle=\""_s + QString(25, u'网') + u'"'));
        QVERIFY(saved.contains(u"InetTimeOut=\"7000\""_s));
    }

    void publishingOffStoresAnythingWithoutAsking()
    {
        OptionsFixture f;
        f.show();
        f.edit("edtWebTitle")->setText(u"a\"b<c>"_s);
        f.edit("edtWebKeyword")->clear();
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(boxes.shown(), QStringList{kSaved});
        QCOMPARE(f.info.WebTitle.text(), u"a\"b<c>"_s);
        QVERIFY(!f.info.WebISOpen);
        QVERIFY(!f.info.WebISDynamic);
    }

    void aFailedSaveIsReportedAndTheDialogStays()
    {
        OptionsFixture f;
        QVERIFY(QDir().mkpath(f.info.configPath())); // a directory where the file should go
        f.show();
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        OptionsFixture::click(f.button("btnOK"));
        QCOMPARE(boxes.shown(), QStringList{error(u"设置保存失败，请检查程序目录的权限"_s)});
        QVERIFY(f.dialog.isVisible());
    }

    void everyCancelLeavesTheStateButRewritesTheConfig_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("button") << 0;
        QTest::newRow("close picture") << 1;
        QTest::newRow("Esc") << 2;
    }

    void everyCancelLeavesTheStateButRewritesTheConfig()
    {
        QFETCH(int, way);
        OptionsFixture f;
        f.describeSite();
        f.info.LastLogid = u"alice"_s;
        f.show();
        OptionsFixture::click(f.box("chkAutoLogin"));
        OptionsFixture::retype(f.edit("edtWebTitle"), u"新标题"_s);
        OptionsFixture::click(f.box("chkWebIsOpen"));
        QVERIFY(!f.dir.exists(u"config.xml"_s));
        if (way == 0)
            OptionsFixture::click(f.button("btnCancel"));
        else if (way == 1)
            OptionsFixture::click(f.child("imgFormClose"));
        else
            QTest::keyClick(f.edit("edtWebTitle"), Qt::Key_Escape);
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QVERIFY(f.info.WebISOpen);
        QVERIFY(!f.info.AutoLogin);
        QCOMPARE(f.info.WebTitle.text(), u"我的网站"_s);
        const QString saved = cp936::decode(f.dir.read(u"config.xml"_s));
        QVERIFY(saved.contains(u"WebTitle=\"我的网站\""_s));
        QVERIFY(saved.contains(u"LastLogid=\"alice\""_s));
    }

    void logViewerOpensTheWholeLogPath()
    {
        TestAppDir root;
        const QString deep = root.file(QString(60, u'd') + u'/' + QString(60, u'e'));
        QVERIFY(QDir().mkpath(deep));
        OptionsFixture f(deep);
        f.show();
        OptionsFixture::click(f.button("btnLogView"));
        QCOMPARE(f.platform.logFiles, QStringList{f.info.Log->path()});
        QVERIFY(f.info.Log->path().size() > 120);
    }

    void categoryButtonRunsTheChooser()
    {
        OptionsFixture f;
        f.describeSite();
        f.info.ShippedDataDir = QStringLiteral(MARBELLO_DATA_DIR);
        TfrmChangeWebArea chooser(f.info);
        f.dialog.setCategoryChooser(&chooser);
        f.show();
        f.child<QTabWidget>("pgcOptions")->setCurrentIndex(1);
        bool ran = false;
        RunInModal([&] {
            ran = QApplication::activeModalWidget() == &chooser;
            chooser.reject();
        });
        OptionsFixture::click(f.button("btnChangeWebArea"));
        QVERIFY(ran);
        QCOMPARE(f.edit("edtWebAreas")->text(), u"摄影"_s);
        QVERIFY(f.dialog.isVisible());
    }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
