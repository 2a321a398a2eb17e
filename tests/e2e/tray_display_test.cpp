// The real tray client on a real X server with a notification area, logged in to the real
// reference service by its stored automatic login.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "tests/e2e/serviceprocess.h"
#include "tests/support/trayarea.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString kId = QStringLiteral("traydemo");
const QString kPassword = QStringLiteral("tray123");

} // namespace

class TrayDisplayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconTurnsOnlineInTheTray()
    {
        ServiceProcess service(60);
        QVERIFY(service.isListening());
        service.admin({QStringLiteral("add-user"), kId, kPassword});

        QTemporaryDir appDir;
        QTemporaryDir runtime;
        {
            // The stored login, scrambled with the key of the client's own path.
            TClientServiceInfo info;
            InitializeClientState(info, appDir.path(), QStringLiteral(MARBELLO_EXECUTABLE));
            info.LastLogid = kId;
            info.LastPassword = kPassword;
            info.AutoLogin = true;
            info.AutoRun = false;
            QVERIFY(SaveConfig(info));
        }

        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        client.setProcessEnvironment(environment);
        client.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer clock;
        clock.start();
        client.start(QStringLiteral(MARBELLO_EXECUTABLE),
                     {QStringLiteral("--app-dir"), appDir.path(), QStringLiteral("--service"),
                      service.host()});
        QVERIFY(client.waitForStarted());

        // Offline first (grey globe), then online (green), with the splash's 1.1 s in between.
        QTRY_VERIFY_WITH_TIMEOUT(ReadTrayIconPixels().shown(), 15000);
        const qint64 inTray = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(ReadTrayIconPixels().online(), 15000);

        const qint64 online = clock.elapsed();
        QVERIFY(service.admin({QStringLiteral("online")}).contains(kId));
        qInfo("start to icon in the tray: %lld ms; start to the online icon: %lld ms", inTray,
              online);

        // The tip shows while the pointer rests on the icon.
        QScreen *screen = QGuiApplication::primaryScreen();
        QCursor::setPos(screen, screen->geometry().width() - 12, 16);
        QTest::qWait(1500);
        const QString shot = QStringLiteral(MARBELLO_BUILD_DIR "/tray-screenshot.png");
        QVERIFY(screen->grabWindow(0).save(shot));
        qInfo("screenshot: %s", qUtf8Printable(shot));

        ::kill(pid_t(client.processId()), SIGTERM);
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitStatus(), QProcess::NormalExit);
        QCOMPARE(client.exitCode(), 0);
    }
};

QTEST_MAIN(TrayDisplayTest)
#include "tray_display_test.moc"
