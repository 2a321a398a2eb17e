// Renders every window of the client to PNG files for review, under the offscreen platform.
#include "app/interfacelanguage.h"
#include "core/clientserviceinfo.h"
#include "platform/platform.h"
#include "tests/ui/screenshots/shot.h"
#include "ui/look/look.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>

namespace {

std::map<QString, ShotRenderer> &registry()
{
    static std::map<QString, ShotRenderer> shots;
    return shots;
}

} // namespace

ShotRegistrar::ShotRegistrar(const char *name, ShotRenderer renderer)
{
    registry().emplace(QString::fromLatin1(name), std::move(renderer));
}

QPixmap GrabShown(QWidget &widget)
{
    widget.show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&widget);
    // Focus frames are drawn only in the active window: every picture is taken active, so that
    // two renderings differ only where the windows do.
    widget.activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&widget, 2000);
    QApplication::processEvents();
    return widget.grab();
}

namespace {

// Renders every registered window into `output`; the number of pictures that could not be written.
int renderAll(const QString &shipped, const QDir &output)
{
    output.mkpath(QStringLiteral("."));
    int failures = 0;
    for (const auto &[name, render] : registry()) {
        QTemporaryDir appDir;
        TClientServiceInfo info;
        InitializeClientState(info, appDir.path(), QApplication::applicationFilePath());
        info.ShippedDataDir = shipped;
        info.ServiceHost = QStringLiteral("127.0.0.1:8080");
        ShotContext context{info, Platform::current()};
        const QString file = output.filePath(name + QStringLiteral(".png"));
        if (!render(context).save(file)) {
            std::fprintf(stderr, "could not write %s\n", qUtf8Printable(file));
            ++failures;
            continue;
        }
        std::printf("%s\n", qUtf8Printable(file));
    }
    return failures;
}

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen unless a display is asked for (the theme comparison renders on a real X server).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // What the desktop's theme would have given, to show that it was in force.
    std::fprintf(stderr, "desktop palette: window %s, text %s\n",
                 qUtf8Printable(QApplication::palette().color(QPalette::Window).name()),
                 qUtf8Printable(QApplication::palette().color(QPalette::WindowText).name()));
    ApplyLook(application);
    if (argc != 3) {
        std::fputs("usage: marbello-screenshots SHIPPED_FILES_DIR OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QString shipped = QString::fromLocal8Bit(argv[1]);
    const QDir outputRoot(QString::fromLocal8Bit(argv[2]));
    int failures = 0;
    // Chinese first: the source texts need no translation, and English stays once installed.
    for (const QString &language : {QStringLiteral("zh"), QStringLiteral("en")}) {
        if (language == QLatin1String("en") && !InterfaceLanguage::InstallEnglish(shipped)) {
            std::fprintf(stderr, "no English translation under %s\n", qUtf8Printable(shipped));
            return 1;
        }
        failures += renderAll(shipped, QDir(outputRoot.filePath(language)));
    }
    return failures == 0 ? 0 : 1;
}
