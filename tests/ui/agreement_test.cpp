// The agreement dialog: the shipped text, the box that opens Next, and the two results.
#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/register/registeragreewindow.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kAgreement = u"用户协议\r\n一、用户应遵守法律法规。\r\n\r\n二、其他"_s;

struct AgreementFixture
{
    AgreementFixture() { InitializeClientState(info, app.path(), u"/opt/marbello/marbello"_s); }

    template <typename T = QWidget> T *child(const char *name) const
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }
    QCheckBox *box() const { return child<QCheckBox>("chkAgree"); }
    bool nextEnabled() const { return child("btnNext")->isEnabled(); }
    QString shownText() const { return child<QPlainTextEdit>("edtComment")->toPlainText(); }
    // Shown and active, as a modal dialog is, so that its shortcuts work.
    void show()
    {
        dialog.show();
        dialog.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&dialog);
    }

    TestAppDir app;
    TestAppDir installed;
    TClientServiceInfo info;
    TfrmRegisterAgree dialog{info};
};

} // namespace

class AgreementTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheShippedTextAsItIs()
    {
        AgreementFixture f;
        f.installed.write(u"RegisterAgree.txt"_s, cp936::encode(u"安装的协议"_s));
        f.info.ShippedDataDir = f.installed.path();
        f.show();
        QCOMPARE(f.shownText(), u"安装的协议"_s);
        QVERIFY(f.child<QPlainTextEdit>("edtComment")->isReadOnly());

        // A copy beside the program comes first, and is read again at every showing.
        f.app.write(u"RegisterAgree.txt"_s, cp936::encode(kAgreement));
        f.dialog.hide();
        f.show();
        QCOMPARE(f.shownText(), QString(kAgreement).remove(u'\r'));
    }

    void nextFollowsTheBoxByMouseF8AndCode()
    {
        AgreementFixture f;
        f.app.write(u"RegisterAgree.txt"_s, cp936::encode(kAgreement));
        f.show();
        QVERIFY(!f.box()->isChecked());
        QVERIFY(!f.nextEnabled());
        QTest::mouseClick(f.box(), Qt::LeftButton, {}, {5, 8});
        QVERIFY(f.nextEnabled());
        QTest::keyClick(&f.dialog, Qt::Key_F8);
        QVERIFY(!f.box()->isChecked());
        QVERIFY(!f.nextEnabled());
        QTest::keyClick(f.child("edtComment"), Qt::Key_F8);
        QVERIFY(f.box()->isChecked());
        QVERIFY(f.nextEnabled());
        f.box()->setChecked(false);
        QVERIFY(!f.nextEnabled());

        // Every showing starts unticked.
        f.box()->setChecked(true);
        f.dialog.hide();
        f.show();
        QVERIFY(!f.box()->isChecked());
        QVERIFY(!f.nextEnabled());
    }

    void onlyNextGivesOk()
    {
        AgreementFixture f;
        f.app.write(u"RegisterAgree.txt"_s, cp936::encode(kAgreement));
        struct Way
        {
            const char *name;
            std::function<void(AgreementFixture &)> act;
            int result;
        };
        const Way ways[] = {
            {"next",
             [](AgreementFixture &f) {
                 QTest::keyClick(&f.dialog, Qt::Key_F8);
                 QTest::mouseClick(f.child("btnNext"), Qt::LeftButton);
             },
             QDialog::Accepted},
            {"close",
             [](AgreementFixture &f) { QTest::mouseClick(f.child("btnClose"), Qt::LeftButton); },
             QDialog::Rejected},
            {"esc", [](AgreementFixture &f) { QTest::keyClick(&f.dialog, Qt::Key_Escape); },
             QDialog::Rejected},
        };
        for (const Way &way : ways) {
            RunInModal([&] {
                f.dialog.activateWindow();
                [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&f.dialog);
                way.act(f);
            });
            QCOMPARE(f.dialog.exec(), way.result);
        }
    }

    void aMissingAgreementIsReportedAndTheDialogStillCloses()
    {
        AgreementFixture f;
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        f.show();
        // The box comes once the dialog is up.
        QStringList shown;
        QTRY_VERIFY(!(shown += boxes.shown()).isEmpty());
        QCOMPARE(shown, QStringList({u"错误|RegisterAgree.txt文件损坏或不存在..."_s}));
        QCOMPARE(f.shownText(), QString());
        QTest::keyClick(&f.dialog, Qt::Key_Escape);
        QVERIFY(!f.dialog.isVisible());
    }
};

QTEST_MAIN(AgreementTest)
#include "agreement_test.moc"
