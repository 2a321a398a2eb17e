// The login and registration dialogs against the real reference service.
#include "core/clientserviceinfo.h"
#include "protocol/login.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/support/testfiles.h"
#include "tests/ui/recordingplatform.h"
#include "tests/ui/uitestsupport.h"
#include "ui/dialogset.h"
#include "ui/login/loginwindow.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct ServiceFixture
{
    ServiceFixture()
    {
        InitializeClientState(info, app.path(), u"/opt/marbello/marbello"_s);
        info.ServiceHost = service.host();
        info.InetTimeOut = 4000;
        info.ShippedDataDir = QStringLiteral(MARBELLO_DATA_DIR);
    }

    ServiceProcess service{60};
    TestAppDir app;
    TClientServiceInfo info;
    RecordingPlatform platform;
};

} // namespace

class DialogsEndToEndTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theLoginDialogLogsInWithWhatIsTyped()
    {
        ServiceFixture f;
        QVERIFY(f.service.isListening());
        QVERIFY(f.service.admin({u"add-user"_s, u"zhang-3"_s, u"s3cret"_s}).contains(u"added"_s));
        TfrmLogin login(f.info, f.platform);
        RunWhenShown(login, [&] {
            QTest::keyClicks(FindEdit(login, "edtLogid"), u"zhang-3"_s);
            QTest::keyClicks(FindEdit(login, "edtPassword"), u"s3cret"_s);
            ClickChild(login, "btnLogin");
        });
        login.exec();
        QCOMPARE(quint8(f.info.State), quint8(StateOnline));
        QCOMPARE(f.info.LastLogid.text(), u"zhang-3"_s);
    }

    void aNewUserRegistersThroughBothDialogsAndLogsIn()
    {
        ServiceFixture f;
        QVERIFY(f.service.isListening());
        DialogSet dialogs(f.info, f.platform);
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        AnswerRegistrationDialogs(
            dialogs.agreement(), dialogs.registration(),
            {u"li-si_2"_s, u"pw-1234"_s, u"李四"_s, u"上海 & 杭州"_s, u"Li.Si@Example-Mail.cn"_s});
        dialogs.RunRegistration();
        QCOMPARE(boxes.shown(), QStringList({u"注册|恭喜，注册成功"_s}));
        QVERIFY(!dialogs.registration().isVisible());
        // The shipped agreement, read as CP936.
        const QString agreementText =
            dialogs.agreement().findChild<QPlainTextEdit *>(u"edtComment"_s)->toPlainText();
        QVERIFY(agreementText.startsWith(u"Marbello 网站发布服务用户协议"_s));

        bool newVersion = false;
        QCOMPARE(Login(f.info, u"li-si_2"_s, u"pw-1234"_s, newVersion), QString());
        QCOMPARE(quint8(f.info.State), quint8(StateOnline));
    }
};

QTEST_MAIN(DialogsEndToEndTest)
#include "dialogs_e2e_test.moc"
