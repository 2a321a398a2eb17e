// The real tray client on a real desktop's notification area (see TrayHostDriver for the
// hosts), logged in to the real reference service by its stored automatic login, and used from
// its icon as a user would.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/e2e/trayhostdriver.h"
#include "tests/support/trayarea.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString kId = QStringLiteral("traydemo");
const QString kPassword = QStringLiteral("tray123");
const QString kOptionsTitle = QStringLiteral("系统配置");
const QString kLoginTitle = QStringLiteral("Marbello XP");
const QString kOnlineTip = QStringLiteral("Marbello XP (已登录)");
const QString kOfflineTip = QStringLiteral("Marbello XP (未登录)");

} // namespace

class TrayDisplayTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TrayHostDriver> m_host = TrayHostDriver::fromEnvironment();
    QTemporaryDir m_appDir;
    QTemporaryDir m_runtime;
    QProcess m_client;

    void startClient(const ServiceProcess &service)
    {
        {
            // The stored login, scrambled with the key of the client's own path.
            TClientServiceInfo info;
            InitializeClientState(info, m_appDir.path(), QStringLiteral(MARBELLO_EXECUTABLE));
            info.LastLogid = kId;
            info.LastPassword = kPassword;
            info.AutoLogin = true;
            info.AutoRun = false;
            QVERIFY(SaveConfig(info));
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_runtime.path());
        if (m_host->name() == QStringLiteral("sway")) {
            // Its compositor's socket lies in the session's runtime directory.
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                               qEnvironmentVariable("XDG_RUNTIME_DIR"));
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        } else {
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        }
        m_client.setProcessEnvironment(environment);
        // Its standard error is kept for the test to read.
        m_client.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_client.start(QStringLiteral(MARBELLO_EXECUTABLE),
                       {QStringLiteral("--app-dir"), m_appDir.path(), QStringLiteral("--service"),
                        service.host()});
        QVERIFY(m_client.waitForStarted());
    }

    bool iconOnline()
    {
        if (m_host->hostShowsMenu())
            return m_host->tip() == kOnlineTip;
        return ReadTrayIconPixels().online();
    }

    void stopClient()
    {
        ::kill(pid_t(m_client.processId()), SIGTERM);
        QVERIFY(m_client.waitForFinished(10000));
        QCOMPARE(m_client.exitStatus(), QProcess::NormalExit);
        if (m_client.exitCode() != 0)
            qWarning("client: %s", m_client.readAllStandardError().constData());
        QCOMPARE(m_client.exitCode(), 0);
    }

    void opensAndCloses(const QString &title, const QString &shot)
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_host->windowShown(title), 5000);
        qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(shot)));
        m_host->closeWindow(title);
        QTRY_VERIFY_WITH_TIMEOUT(!m_host->windowShown(title), 5000);
    }

private Q_SLOTS:
    // A picture of the desktop when a case fails; no client outlives its case.
    void cleanup()
    {
        if (QTest::currentTestFailed())
            qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(QStringLiteral("failed"))));
        if (m_client.state() != QProcess::NotRunning) {
            m_client.kill();
            m_client.waitForFinished();
        }
    }

    void theClientIsUsedFromItsIcon()
    {
        // A short keep-alive period, so a posted message arrives while the test watches.
        ServiceProcess service(2);
        QVERIFY(service.isListening());
        service.admin({QStringLiteral("add-user"), kId, kPassword});
        QElapsedTimer clock;
        clock.start();
        startClient(service);

        // Offline first, then online within 500 ms of the service accepting the login.
        QTRY_VERIFY_WITH_TIMEOUT(m_host->iconShown(), 15000);
        const qint64 inTray = clock.elapsed();
        qint64 accepted = -1;
        qint64 shownOnline = -1;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (accepted < 0 && service.admin({QStringLiteral("online")}).contains(kId))
                    accepted = clock.elapsed();
                if (shownOnline < 0 && iconOnline())
                    shownOnline = clock.elapsed();
                return accepted >= 0 && shownOnline >= 0;
            }(),
            20000);
        qInfo("start to icon: %lld ms; login accepted: %lld ms; icon online: %lld ms", inTray,
              accepted, shownOnline);
        QVERIFY(shownOnline - accepted <= 500);
        if (m_host->hostShowsMenu())
            QCOMPARE(m_host->tip(), kOnlineTip);
        m_host->pointAtIcon();
        qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(QStringLiteral("online"))));

        // A new message: on a StatusNotifierItem desktop its balloon is the desktop's
        // notification (the session's notification daemon keeps it in its history).
        service.admin({QStringLiteral("post-message"), kId, QStringLiteral("--from"),
                       QStringLiteral("admin"), QStringLiteral("--from-ip"),
                       QStringLiteral("127.0.0.1"), QStringLiteral("--comment"),
                       QStringLiteral("欢迎使用")});
        const auto dunst = [](const QStringList &arguments) {
            return QString::fromUtf8(RunTool(QStringLiteral("dunstctl"), arguments)).trimmed();
        };
        if (m_host->hostShowsMenu()) {
            QTRY_VERIFY_WITH_TIMEOUT(
                dunst({QStringLiteral("count"), QStringLiteral("displayed")}) != u"0", 10000);
            qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(QStringLiteral("balloon"))));
            // Its title is in the history once the daemon has closed it.
            RunTool(QStringLiteral("dunstctl"), {QStringLiteral("close-all")});
            QTRY_VERIFY_WITH_TIMEOUT(
                dunst({QStringLiteral("history")}).contains(QStringLiteral("收到新讯息")), 5000);
        } else {
            QTest::qWait(3000);
            qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(QStringLiteral("balloon"))));
        }

        m_host->primaryClick();
        opensAndCloses(kOptionsTitle, QStringLiteral("click-online"));

        if (m_host->hostShowsMenu())
            QCOMPARE(m_host->firstMenuCaption(), QStringLiteral("退出登录(&L)..."));
        QVERIFY(m_host->chooseFromMenu(QLatin1Char('o'), QStringLiteral("系统配置(&O)...")));
        opensAndCloses(kOptionsTitle, QStringLiteral("menu-options"));

        // While the balloon is recent its title is the item's tip; the session's tip returns.
        if (m_host->hostShowsMenu())
            QTRY_COMPARE_WITH_TIMEOUT(m_host->tip(), kOnlineTip, 15000);

        // Logged off from the menu: the icon and the menu turn offline.
        QVERIFY(m_host->chooseFromMenu(QLatin1Char('l'), QStringLiteral("退出登录(&L)...")));
        if (m_host->hostShowsMenu()) {
            QTRY_COMPARE_WITH_TIMEOUT(m_host->tip(), kOfflineTip, 5000);
            QCOMPARE(m_host->firstMenuCaption(), QStringLiteral("用户登录(&L)..."));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!ReadTrayIconPixels().online(), 5000);
        }
        m_host->primaryClick();
        opensAndCloses(kLoginTitle, QStringLiteral("click-offline"));

        // The exit question is a message box; closing it answers No and the client stays.
        QVERIFY(m_host->chooseFromMenu(QLatin1Char('x'), QStringLiteral("退出(&X)...")));
        opensAndCloses(QStringLiteral("退出"), QStringLiteral("exit-question"));
        QTest::qWait(200);
        QCOMPARE(m_client.state(), QProcess::Running);

        stopClient();
    }

    // Run with the panel started a few seconds after the client (the host script's --late).
    void aPanelThatStartsLaterIsWaitedFor()
    {
        if (qEnvironmentVariableIsEmpty("MARBELLO_PANEL_LATE"))
            QSKIP("the panel was started first");
        ServiceProcess service(60);
        QVERIFY(service.isListening());
        service.admin({QStringLiteral("add-user"), kId, kPassword});
        startClient(service);
        QVERIFY(!m_host->iconShown());
        QTRY_VERIFY_WITH_TIMEOUT(m_host->iconShown(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(iconOnline(), 10000);
        qInfo("screenshot: %s", qUtf8Printable(m_host->screenshot(QStringLiteral("late-panel"))));
        // Neither the "Failed!" box nor the hint that goes with it.
        QVERIFY(!m_host->windowShown(kLoginTitle));
        QCOMPARE(m_client.state(), QProcess::Running);
        stopClient();
        QVERIFY(!m_client.readAllStandardError().contains("no notification area"));
    }
};

QTEST_MAIN(TrayDisplayTest)
#include "tray_display_test.moc"
