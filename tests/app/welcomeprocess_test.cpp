#include "app/welcomeprocess.h"
#include "app/welcomewindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

class WelcomeProcessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theClientsCopyShowsTheSplashForItsTimeAndEnds()
    {
        QProcess copy;
        QElapsedTimer clock;
        clock.start();
        copy.start(QStringLiteral(MARBELLO_EXECUTABLE), {QStringLiteral("--splash")});
        QVERIFY(copy.waitForFinished(10000));
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 0);
        // What tells the client that it need not show the splash itself.
        QCOMPARE(copy.readAllStandardOutput(), QByteArray("shown\n"));
        // 500 ms shown and activated, then 600 ms more.
        QVERIFY2(clock.elapsed() >= 1100, qPrintable(QString::number(clock.elapsed())));
    }

    // This test program refuses --splash, as a copy that fails would: the splash is then shown
    // in this process, with its version, for its whole time.
    void aCopyThatFailsLeavesTheSplashToThisProcess()
    {
        QStringList versionsSeen;
        QTimer look;
        QObject::connect(
            &look, &QTimer::timeout, [&versionsSeen] {
                for (QWidget *window : QApplication::topLevelWidgets()) {
                    if (window->objectName() == QStringLiteral("frmWelcome") && window->isVisible())
                        versionsSeen
                            << window->findChild<QLabel *>(QStringLiteral("dispVersion"))->text();
                }
            });
        look.start(100);
        QElapsedTimer clock;
        clock.start();
        ShowWelcomeInOwnProcess();
        QVERIFY(clock.elapsed() >= 1100);
        QVERIFY(!versionsSeen.isEmpty());
        QCOMPARE(versionsSeen.first(), QStringLiteral("0.994"));
    }
};

QTEST_MAIN(WelcomeProcessTest)
#include "welcomeprocess_test.moc"
