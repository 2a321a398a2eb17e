#include "app/trayclient.h"
#include "app/traymenuitems.h"
#include "app/traywindow.h"
#include "core/config.h"
#include "core/cp936.h"
#include "platform/platform.h"
#include "tests/app/traywindowfixture.h"
#include "tests/protocol/fakeservice.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/dialogset.h"
#include "ui/look/traymenu.h"
#include "ui/messagebox.h"
#include "ui/options/optionswindow.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

namespace {

QDialog *activeModal()
{
    return qobject_cast<QDialog *>(QApplication::activeModalWidget());
}

} // namespace

class TrayWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<ScriptedServer> m_service;

    // A config.xml with the given settings, written as the client itself would.
    void writeConfig(const std::function<void(TClientServiceInfo &)> &settings)
    {
        TClientServiceInfo info;
        InitializeClientState(info, m_dir->path(), QApplication::applicationFilePath());
        settings(info);
        SaveConfig(info);
    }

    std::unique_ptr<TfrmClientServiceMain> createWindow()
    {
        return CreateTrayWindow(m_dir->path(),
                                QStringLiteral("127.0.0.1:%1").arg(m_service->port()));
    }

private Q_SLOTS:
    void initTestCase() { IsolateFromTheSession(m_runtime); }

    void init()
    {
        m_dir = std::make_unique<TestAppDir>();
        m_service = std::make_unique<ScriptedServer>();
        MessageBoxAnswers::arm();
    }

    void cleanup()
    {
        MessageBoxAnswers::disarm();
        m_service.reset();
        m_dir.reset();
    }

    void menuFollowsTheSession_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("loggingIn");
        QTest::addColumn<bool>("loggingOff");
        QTest::addColumn<QString>("loginCaption");
        QTest::addColumn<bool>("loginEnabled");
        QTest::addColumn<bool>("userHomeEnabled");
        QTest::newRow("offline") << 0 << false << false << "用户登录(&L)..." << true << false;
        QTest::newRow("online") << 1 << false << false << "退出登录(&L)..." << true << true;
        QTest::newRow("connection lost")
            << 3 << false << false << "用户登录(&L)..." << true << false;
        QTest::newRow("logging in") << 0 << true << false << "用户登录中..." << false << false;
        QTest::newRow("logging off") << 1 << false << true << "用户注销中..." << false << true;
    }

    void menuFollowsTheSession()
    {
        QFETCH(int, state);
        QFETCH(bool, loggingIn);
        QFETCH(bool, loggingOff);
        const auto window = createWindow();
        TClientServiceInfo &info = window->info();
        info.State = quint8(state);
        info.LoggingIn = loggingIn;
        info.LoggingOff = loggingOff;
        window->pMnuTrayPopup();
        QTEST(window->menu().pmnuLogin->text(), "loginCaption");
        QTEST(window->menu().pmnuLogin->isEnabled(), "loginEnabled");
        QTEST(window->menu().pmnuToolsUserHome->isEnabled(), "userHomeEnabled");
        // Every other item stays as built, the message log included.
        QVERIFY(window->menu().pmnuToolsMessageShow->isEnabled());
        QCOMPARE(window->menu().mnuGotoHome->text(), QStringLiteral("[Marbello XP]主页(&F]"));
    }

    void iconAndTipFollowTheStateWithoutPolling()
    {
        const auto window = createWindow();
        TrayIcon &icon = window->trayIcon();
        QVERIFY(icon.iconFile().endsWith(QStringLiteral("/offline.ico")));
        QCOMPARE(icon.toolTip(), QStringLiteral("Marbello XP (未登录)"));
        window->info().State = StateOnline;
        QTRY_COMPARE_WITH_TIMEOUT(icon.toolTip(), QStringLiteral("Marbello XP (已登录)"), 500);
        QVERIFY(icon.iconFile().endsWith(QStringLiteral("/online.ico")));
        QCOMPARE(window->ShownState, quint8(StateOnline));
        window->info().State = StateConnectionLost;
        QTRY_COMPARE_WITH_TIMEOUT(icon.toolTip(), QStringLiteral("Marbello XP (未登录)"), 500);
        QVERIFY(icon.iconFile().endsWith(QStringLiteral("/offline.ico")));
        // The shipped icons come from the installed files when the app directory has none.
        QVERIFY(QFile::exists(icon.iconFile()));
    }

    void doubleClickOpensByStateAndGuardsTheIcon()
    {
        const auto window = createWindow();
        // Offline: the login dialog. While it is open the icon answers nothing, not even the menu.
        RunInModal([&] {
            QTRY_VERIFY(activeModal());
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmLogin"));
            QVERIFY(window->InTrayMessage);
            Q_EMIT window->trayIcon().primaryClicked();
            Q_EMIT window->trayIcon().rightButtonPressed(QPoint(10, 10));
            QVERIFY(!window->menu().pMnuTray->isVisible());
            activeModal()->close();
        });
        Q_EMIT window->trayIcon().primaryClicked();
        QVERIFY(!window->InTrayMessage);

        // Online: the options dialog.
        window->info().State = StateOnline;
        RunInModal([&] {
            QTRY_VERIFY(activeModal());
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmOption"));
            activeModal()->close();
        });
        Q_EMIT window->trayIcon().primaryClicked();
    }

    void menuStillWorksWhileADialogFromTheMenuIsOpen()
    {
        const auto window = createWindow();
        RunInModal([&] {
            QTRY_VERIFY(activeModal());
            QDialog *options = activeModal();
            QCOMPARE(options->objectName(), QStringLiteral("frmOption"));
            // The icon is not busy: its menu pops up, and choosing the item again raises the
            // open dialog instead of opening a second one.
            QVERIFY(!window->InTrayMessage);
            Q_EMIT window->trayIcon().rightButtonPressed(QPoint(10, 10));
            QVERIFY(window->menu().pMnuTray->isVisible());
            window->menu().pMnuTray->close();
            window->pmnuShowOptionClick();
            QCOMPARE(activeModal(), options);
            options->close();
        });
        window->pmnuShowOptionClick();
        QVERIFY(!window->dialogs().option().isVisible());
    }

    void exitAsksFirstAndClosesWithoutLogoff()
    {
        writeConfig([](TClientServiceInfo &info) { info.IfLog = true; });
        const auto window = createWindow();
        window->info().State = StateOnline;
        window->info().SessionLogid = QStringLiteral("demo");
        window->info().WebTitle = QStringLiteral("我的网站");
        QFile::remove(m_dir->file(QStringLiteral("config.xml")));

        MessageBoxAnswers::queue({IDNO});
        window->pmnuExitClick();
        QCOMPARE(MessageBoxAnswers::takeShown(),
                 QStringList{QStringLiteral("退出|确认要终止服务并退出吗?")});
        QVERIFY(!window->isClosed());
        QVERIFY(!m_dir->exists(QStringLiteral("config.xml")));

        MessageBoxAnswers::queue({IDYES});
        window->pmnuExitClick();
        QVERIFY(window->isClosed());
        QVERIFY(!window->trayIcon().isAdded());
        QVERIFY(QString::fromLocal8Bit(m_dir->read(QStringLiteral("config.xml")))
                    .contains(QStringLiteral("WebTitle")));
        const QString log = cp936::decode(m_dir->read(QStringLiteral("log/log.txt")));
        QVERIFY(log.contains(QStringLiteral("软件退出")));
        QCOMPARE(m_service->connectionCount(), 0);
    }

    void incompleteSiteOpensOptionsBeforeTheLogin()
    {
        writeConfig([](TClientServiceInfo &info) {
            info.WebISOpen = true;
            info.WebKeyword = QStringLiteral("教程");
        });
        const auto window = createWindow();
        QStringList opened;
        const auto closeNextModal = [&] {
            QTRY_VERIFY(activeModal());
            opened << activeModal()->objectName();
            activeModal()->close();
        };
        RunInModal([&] {
            closeNextModal();
            RunInModal(closeNextModal);
        });
        window->startSession(std::nullopt);
        QCOMPARE(opened, QStringList({QStringLiteral("frmOption"), QStringLiteral("frmLogin")}));
    }

    void newMessagesShowABalloonUntilTheLogIsOpened()
    {
        const auto window = createWindow();
        m_dir->write(QStringLiteral("xml/messages.xml"),
                     cp936::encode(QStringLiteral(
                         "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<Messages>"
                         "<Message Comment=\"最新的讯息\"/><Message Comment=\"旧讯息\"/>"
                         "</Messages>")));
        window->info().HasMessages = true;
        QCOMPARE(window->trayIcon().balloonTitle(), QStringLiteral("收到新讯息"));
        QCOMPARE(window->trayIcon().balloonText(), QStringLiteral("最新的讯息"));
        // The icon keeps following the session while the flag is set.
        window->info().State = StateOnline;
        QTRY_COMPARE_WITH_TIMEOUT(window->trayIcon().toolTip(),
                                  QStringLiteral("Marbello XP (已登录)"), 500);

        RunInModal([] {
            QTRY_VERIFY(activeModal());
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmMessageShow"));
            activeModal()->close();
        });
        window->pmnuToolsMessageShowClick();
        QVERIFY(!window->info().HasMessages);
    }

    void aStoreThatCannotBeWrittenIsToldInOneBalloonPerRun()
    {
        const auto window = createWindow();
        StoreTrouble &trouble = window->info().StoreFailures;
        trouble.fail(QStringLiteral("xml/messages.xml: Permission denied"));
        QCOMPARE(window->trayIcon().balloonText(),
                 QStringLiteral("讯息无法保存，请检查程序目录的权限"));
        m_dir->write(QStringLiteral("xml/messages.xml"),
                     "<Messages><Message Comment=\"x\"/></Messages>");
        window->info().HasMessages = true;
        trouble.fail(QStringLiteral("xml/messages.xml: Permission denied"));
        QCOMPARE(window->trayIcon().balloonText(), QStringLiteral("x"));
    }

    void withoutANotificationAreaTheClientSaysSoAndCloses()
    {
        writeConfig([](TClientServiceInfo &info) {
            info.AutoLogin = true;
            info.LastLogid = QStringLiteral("demo");
            info.LastPassword = QStringLiteral("pw");
            info.IfLog = true;
        });
        MessageBoxAnswers::queue({0});
        TfrmClientServiceMain window(Platform::current(),
                                     {m_dir->path(),
                                      QApplication::applicationFilePath(),
                                      QStringLiteral("127.0.0.1:%1").arg(m_service->port()),
                                      {}},
                                     std::make_unique<TrayIcon>(std::chrono::milliseconds(200)));
        // The panel may still come: nothing is said before the wait is over.
        QVERIFY(MessageBoxAnswers::takeShown().isEmpty());
        bool closed = false;
        connect(&window, &TfrmClientServiceMain::closed, this, [&] { closed = true; });
        // No login that the quit would cut short, no dialog; the closing steps still run.
        window.startSession(std::nullopt);
        QCOMPARE(MessageBoxAnswers::takeShown(),
                 QStringList{QStringLiteral("Marbello XP|Failed!")});
        QVERIFY(closed);
        QCOMPARE(m_service->connectionCount(), 0);
        const QString log = cp936::decode(m_dir->read(QStringLiteral("log/log.txt")));
        QVERIFY(log.contains(QStringLiteral("软件退出")));
    }

    void anX11TrayActsOnceOnADoubleClickAndKeepsItsMenu()
    {
        const auto window = createWindow();
        auto *icon = window->trayIcon().findChild<QSystemTrayIcon *>();
        QVERIFY(icon);
        QVERIFY(!window->trayIcon().hostShowsMenu());
        // The client pops up its own menu there; the toolkit must not pop up a second one.
        QVERIFY(!icon->contextMenu());
        int opened = 0;
        RunInModal([&] {
            QTRY_VERIFY(activeModal());
            ++opened;
            activeModal()->close();
        });
        // The X11 tray reports a double click as a click and then a double click.
        Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!activeModal());
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(opened, 1);
        QTest::qWait(50);
        QCOMPARE(opened, 1);

        Q_EMIT icon->activated(QSystemTrayIcon::Context);
        QVERIFY(window->menu().pMnuTray->isVisible());
        window->menu().pMnuTray->close();
    }

    void placeholdersAreReplacedWithoutEncoding_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("user home") << "/user/logindo.asp?logid=<logid>&password=<password>"
                                   << "/user/logindo.asp?logid=a-b_1&password=p&w=%41 x";
        QTest::newRow("any case, repeated") << "/x?<LOGID>&<Password>&<logid>"
                                            << "/x?a-b_1&p&w=%41 x&a-b_1";
        QTest::newRow("no placeholder") << "/bbs2"
                                        << "/bbs2";
    }

    void placeholdersAreReplacedWithoutEncoding()
    {
        QFETCH(QString, path);
        QTEST(FillLoginPlaceholders(path, QStringLiteral("a-b_1"), QStringLiteral("p&w=%41 x")),
              "expected");
    }

    void secondCopyIsRefusedWithAWarning()
    {
        const auto held =
            Platform::current().AcquireSingleInstance(QStringLiteral("ClientService"));
        QVERIFY(held);
        MessageBoxAnswers::queue({0});
        CommandLine commandLine;
        commandLine.appDir = m_dir->path();
        QCOMPARE(RunTrayClient(*qApp, commandLine), 1);
        QCOMPARE(MessageBoxAnswers::takeShown(),
                 QStringList{QStringLiteral("警告|已经有实例运行中")});
        QVERIFY(!m_dir->exists(QStringLiteral("config.xml")));
    }
};

QTEST_MAIN(TrayWindowTest)
#include "traywindow_test.moc"
