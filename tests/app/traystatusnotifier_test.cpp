// The tray window's icon hosted by a StatusNotifierItem host on a private session bus, on a real
// X server without an X11 tray: the host's click, the exported menu and a host that comes late.
#include "app/trayicon.h"
#include "app/traymenuitems.h"
#include "app/traywindow.h"
#include "core/config.h"
#include "platform/platform.h"
#include "tests/app/traywindowfixture.h"
#include "tests/protocol/fakeservice.h"
#include "tests/support/statusnotifierhost.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/dialogset.h"
#include "ui/login/loginwindow.h"
#include "ui/look/traymenu.h"
#include "ui/messagebox.h"
#include "ui/options/optionswindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

QDialog *activeModal()
{
    return qobject_cast<QDialog *>(QApplication::activeModalWidget());
}

// The entries of a QMenu as a host would read them: captions, separators, enabled, submenus.
QStringList describe(const QMenu &menu)
{
    QStringList lines;
    for (const QAction *action : menu.actions()) {
        if (action->isSeparator()) {
            lines << QStringLiteral("-");
            continue;
        }
        lines << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
        if (const QMenu *submenu = action->menu())
            for (const QString &line : describe(*submenu))
                lines << QStringLiteral("  ") + line;
    }
    return lines;
}

QStringList describe(const ExportedMenuEntry &entry)
{
    QStringList lines;
    for (const ExportedMenuEntry &child : entry.children) {
        if (child.isSeparator()) {
            lines << QStringLiteral("-");
            continue;
        }
        lines << child.caption() + (child.isEnabled() ? QString() : QStringLiteral(" (off)"));
        for (const QString &line : describe(child))
            lines << QStringLiteral("  ") + line;
    }
    return lines;
}

} // namespace

class TrayStatusNotifierTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime;
    StatusNotifierWatcherThread m_host;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<ScriptedServer> m_service;
    std::unique_ptr<TfrmClientServiceMain> m_window;

    StatusNotifierItemCaller item() { return StatusNotifierItemCaller(m_host.items().value(0)); }

private Q_SLOTS:
    void initTestCase()
    {
        IsolateFromTheSession(m_runtime);
        m_dir = std::make_unique<TestAppDir>();
        m_service = std::make_unique<ScriptedServer>();
        MessageBoxAnswers::arm();
    }

    void cleanupTestCase()
    {
        m_window.reset();
        MessageBoxAnswers::disarm();
    }

    // First: the toolkit settles on a host when its first tray icon is made.
    void aPanelThatComesLateIsWaitedFor()
    {
        m_window = std::make_unique<TfrmClientServiceMain>(
            Platform::current(),
            ClientEnvironment{m_dir->path(), QApplication::applicationFilePath(),
                              QStringLiteral("127.0.0.1:%1").arg(m_service->port()),
                              QStringLiteral(MARBELLO_BUILT_APP_DIR)},
            std::make_unique<TrayIcon>(20s));
        QVERIFY(!m_window->trayIcon().isAdded());

        QTimer::singleShot(1500, this, [this] { m_host.startHosting(); });
        // Steps that waited inside the client's own wait would hold it up.
        RunWhenShown(m_window->dialogs().login(), [this] { m_window->dialogs().login().close(); });
        QElapsedTimer clock;
        clock.start();
        m_window->startSession(std::nullopt);
        QVERIFY(clock.elapsed() >= 1400);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(MessageBoxAnswers::takeShown().isEmpty());
        QVERIFY(m_window->trayIcon().isAdded());
        QVERIFY(m_window->trayIcon().hostShowsMenu());
        QTRY_COMPARE(m_host.items().size(), 1);
        QCOMPARE(item().toolTipTitle(), QStringLiteral("Marbello XP (未登录)"));
    }

    void theHostsClickOpensByStateAndGuardsTheIcon()
    {
        m_window->info().State = StateOffline;
        bool checked = false;
        // The click reaches the client after its answer: its dialog opens in a later event.
        RunWhenShown(m_window->dialogs().login(), [&] {
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmLogin"));
            QVERIFY(m_window->InTrayMessage);
            // A second click, and a choice from the menu that the desktop still shows, do
            // nothing while the dialog is open.
            QVERIFY(item().activate(5, 5));
            const ExportedMenuEntry menu = item().openMenu();
            const ExportedMenuEntry *options = menu.find(QStringLiteral("系统配置(&O)..."));
            QVERIFY(options);
            QVERIFY(item().click(options->id));
            QTest::qWait(100);
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmLogin"));
            checked = true;
            activeModal()->close();
        });
        QVERIFY(item().activate(5, 5));
        QTRY_VERIFY(checked);
        QTRY_VERIFY(!m_window->InTrayMessage);

        m_window->info().State = StateOnline;
        checked = false;
        RunWhenShown(m_window->dialogs().option(), [&] {
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmOption"));
            checked = true;
            activeModal()->close();
        });
        QVERIFY(item().activate(5, 5));
        QTRY_VERIFY(checked);
        QTRY_VERIFY(!activeModal());
    }

    void theExportedMenuIsTheClientsMenuInItsState()
    {
        TClientServiceInfo &info = m_window->info();
        info.State = StateOffline;
        QTRY_COMPARE(item().readMenu().children.value(0).caption(),
                     QStringLiteral("用户登录(&L)..."));
        // Kept in step with the session even for a host that reads the menu without asking.
        info.State = StateOnline;
        QTRY_COMPARE(item().readMenu().children.value(0).caption(),
                     QStringLiteral("退出登录(&L)..."));
        const ExportedMenuEntry online = item().openMenu();
        QCOMPARE(describe(online), describe(*m_window->menu().pMnuTray));
        QVERIFY(online.find(QStringLiteral("个人控制中心(&P)"))->isEnabled());

        // The rules run when the host opens the menu, before it reads the items.
        info.State = StateConnectionLost;
        info.LoggingIn = true;
        const ExportedMenuEntry loggingIn = item().openMenu();
        info.LoggingIn = false;
        QCOMPARE(loggingIn.children.value(0).caption(), QStringLiteral("用户登录中..."));
        QVERIFY(!loggingIn.children.value(0).isEnabled());
        QVERIFY(!loggingIn.find(QStringLiteral("个人控制中心(&P)"))->isEnabled());
        QCOMPARE(describe(loggingIn).size(), 15);
        QCOMPARE(describe(loggingIn).mid(2, 7),
                 QStringList({QStringLiteral("工具(&T)"), QStringLiteral("  新用户注册(&R)"),
                              QStringLiteral("  -"), QStringLiteral("  个人控制中心(&P) (off)"),
                              QStringLiteral("  [Marbello XP] 论坛"), QStringLiteral("  -"),
                              QStringLiteral("  讯息记录(&M)")}));
    }

    void aChoiceFromTheExportedMenuRunsItsCommand()
    {
        m_window->info().State = StateOnline;
        bool opened = false;
        RunWhenShown(m_window->dialogs().option(), [&] {
            QCOMPARE(activeModal()->objectName(), QStringLiteral("frmOption"));
            // Not a click on the icon: the icon stays free.
            QVERIFY(!m_window->InTrayMessage);
            opened = true;
            activeModal()->close();
        });
        const ExportedMenuEntry menu = item().openMenu();
        const ExportedMenuEntry *options = menu.find(QStringLiteral("系统配置(&O)..."));
        QVERIFY(options);
        QVERIFY(item().click(options->id));
        QTRY_VERIFY(opened);
    }
};

QTEST_MAIN(TrayStatusNotifierTest)
#include "traystatusnotifier_test.moc"
