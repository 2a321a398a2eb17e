// The tray window with its dialogs against the real reference service: a login typed into the
// login dialog, a registration through both dialogs, and a message the service delivers.
#include "app/traywindow.h"
#include "platform/platform.h"
#include "tests/app/traywindowfixture.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/dialogset.h"
#include "ui/login/loginwindow.h"
#include "ui/messagebox.h"
#include "ui/messages/messagewindow.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Logs in through the login dialog, opened from the tray menu, with what is typed.
void logInByHand(TfrmClientServiceMain &window, const QString &id, const QString &password)
{
    TfrmLogin &login = window.dialogs().login();
    RunWhenShown(login, [&] {
        FindEdit(login, "edtLogid")->clear();
        QTest::keyClicks(FindEdit(login, "edtLogid"), id);
        QTest::keyClicks(FindEdit(login, "edtPassword"), password);
        ClickChild(login, "btnLogin");
    });
    window.pmnuLoginClick();
}

} // namespace

class TrayEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime;
    std::unique_ptr<ServiceProcess> m_service;
    std::unique_ptr<TestAppDir> m_dir;

    std::unique_ptr<TfrmClientServiceMain> createWindow()
    {
        return CreateTrayWindow(m_dir->path(), m_service->host());
    }

private Q_SLOTS:
    void initTestCase() { IsolateFromTheSession(m_runtime); }

    void init()
    {
        // A keep-alive every second, so a delivered message arrives within the test.
        m_service = std::make_unique<ServiceProcess>(1);
        QVERIFY(m_service->isListening());
        m_dir = std::make_unique<TestAppDir>();
    }

    void cleanup()
    {
        m_dir.reset();
        m_service.reset();
    }

    void loginDialogTurnsTheIconOnline()
    {
        QVERIFY(m_service->admin({u"add-user"_s, u"wang-5"_s, u"tray-pw"_s}).contains(u"added"_s));
        const auto window = createWindow();
        logInByHand(*window, u"wang-5"_s, u"tray-pw"_s);
        QVERIFY(!window->dialogs().login().isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(window->trayIcon().toolTip(), u"Marbello XP (已登录)"_s, 500);
        QVERIFY(window->trayIcon().iconFile().endsWith(u"/online.ico"_s));
        QVERIFY(m_service->admin({u"online"_s}).contains(u"wang-5"_s));
    }

    void newUserRegistersLogsInAndReadsAMessage()
    {
        const auto window = createWindow();
        ArmedMessageBoxes boxes;
        boxes.answer({0});
        AnswerRegistrationDialogs(
            window->dialogs().agreement(), window->dialogs().registration(),
            {u"zhao-6"_s, u"pw-6789"_s, u"赵六"_s, u"北京"_s, u"zhao6@example.cn"_s});
        window->pmnuToolsRegisterClick();
        QCOMPARE(boxes.shown(), QStringList({u"注册|恭喜，注册成功"_s}));

        logInByHand(*window, u"zhao-6"_s, u"pw-6789"_s);
        QTRY_COMPARE_WITH_TIMEOUT(window->trayIcon().toolTip(), u"Marbello XP (已登录)"_s, 500);

        const QString text = u"欢迎加入，赵六"_s;
        m_service->admin({u"post-message"_s, u"zhao-6"_s, u"--from"_s, u"admin"_s, u"--from-ip"_s,
                          u"10.0.0.9"_s, u"--comment"_s, text});
        QTRY_COMPARE_WITH_TIMEOUT(window->trayIcon().balloonText(), text, 10000);
        QCOMPARE(window->trayIcon().balloonTitle(), u"收到新讯息"_s);

        TfrmMessageShow &log = window->dialogs().messages();
        QString listed;
        RunWhenShown(log, [&] {
            const QAbstractItemModel *rows = log.findChild<QTableView *>(u"grdMessage"_s)->model();
            for (int column = 0; column < rows->columnCount(); ++column)
                listed += rows->index(0, column).data().toString() + u'|';
            log.close();
        });
        window->pmnuToolsMessageShowClick();
        QVERIFY(listed.contains(text));
        QVERIFY(listed.contains(u"10.0.0.9"_s));
        QVERIFY(!window->info().HasMessages);
    }
};

QTEST_MAIN(TrayEndToEndTest)
#include "tray_e2e_test.moc"
