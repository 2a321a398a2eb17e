#include "tests/e2e/trayhostdriver.h"

#include "tests/support/statusnotifierhost.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

namespace {

// Screenshots go to build/, or where the host's script collects them.
QString shotDir()
{
    const QString given = qEnvironmentVariable("MARBELLO_SHOT_DIR");
    return given.isEmpty() ? QStringLiteral(MARBELLO_BUILD_DIR) : given;
}

bool isIconPixel(const QColor &c)
{
    const bool green = c.green() > c.red() + 40 && c.green() > c.blue() + 40;
    const bool grey = c.red() > 80 && c.red() < 200 && qAbs(c.red() - c.green()) < 8 &&
                      qAbs(c.green() - c.blue()) < 8;
    return green || grey;
}

// The client's globe in the panel along the top edge of an X screen: the bounding box of its
// green or grey pixels.
QRect findIconOnScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage image = screen->grabWindow(0, 0, 0, screen->geometry().width(), 40).toImage();
    QRect box;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isIconPixel(image.pixelColor(x, y))) {
                box |= QRect(x, y, 1, 1);
                ++count;
            }
    return count > 40 ? box : QRect();
}

// The item the panel hosts, from the watcher's list ("service" or "service/path").
QString registeredItem()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierWatcher")
        << QStringLiteral("RegisteredStatusNotifierItems");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QStringList items =
        reply.arguments().constFirst().value<QDBusVariant>().variant().toStringList();
    return items.isEmpty() ? QString() : items.constFirst().section(QLatin1Char('/'), 0, 0);
}

// The X11 desktops: real clicks with xdotool at the icon found on the screen.
class X11Driver : public TrayHostDriver
{
public:
    bool iconShown() override
    {
        m_icon = findIconOnScreen();
        return m_icon.isValid();
    }

    void pointAtIcon() override
    {
        const QPoint at = m_icon.center();
        RunTool(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(1500);
    }

    void click(int button, int repeat = 1)
    {
        const QPoint at = m_icon.center();
        RunTool(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                 QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
                 QStringLiteral("--delay"), QStringLiteral("120"), QString::number(button)});
    }

    bool chooseFromMenu(QChar accelerator, const QString &) override
    {
        // A press sent in the same instant as the previous dialog closes is lost on an X server
        // without a window manager; a user's next click never comes that fast.
        QTest::qWait(1000);
        const QImage before = belowIcon();
        click(3);
        // The menu opens next to the icon: the area under it changes.
        bool shown = false;
        for (int i = 0; i < 40 && !shown; ++i) {
            QTest::qWait(100);
            shown = changedPixels(before, belowIcon()) > 2000;
        }
        screenshot(QStringLiteral("menu-") + accelerator);
        RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QString(accelerator)});
        return shown;
    }

    bool windowShown(const QString &title) override
    {
        int status = 1;
        RunTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--name"), QStringLiteral("^") + title + QStringLiteral("$")},
                &status);
        return status == 0;
    }

    void closeWindow(const QString &) override
    {
        RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    }

    QString screenshot(const QString &what) override
    {
        const QString path = shotDir() + QStringLiteral("/tray-") + name() + QLatin1Char('-') +
                             what + QStringLiteral(".png");
        QGuiApplication::primaryScreen()->grabWindow(0).save(path);
        return path;
    }

protected:
    QImage belowIcon() const
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area =
            QRect(m_icon.center().x() - 200, 0, 400, 300).intersected(screen->geometry());
        return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    }

    static int changedPixels(const QImage &a, const QImage &b)
    {
        int changed = 0;
        for (int y = 0; y < qMin(a.height(), b.height()); ++y)
            for (int x = 0; x < qMin(a.width(), b.width()); ++x)
                changed += a.pixel(x, y) != b.pixel(x, y);
        return changed;
    }

    QRect m_icon;
};

class TrayerDriver : public X11Driver
{
public:
    QString name() const override { return QStringLiteral("trayer"); }
    bool hostShowsMenu() const override { return false; }
    // The X11 tray's tip is the client's own window; the screenshot shows it.
    QString tip() override { return QString(); }
    void primaryClick() override { click(1, 2); }
};

// Either SNI host: the item read and (on sway) driven over D-Bus as the host does it.
class XfceDriver : public X11Driver
{
public:
    QString name() const override { return QStringLiteral("xfce"); }
    QString tip() override { return StatusNotifierItemCaller(registeredItem()).toolTipTitle(); }
    void primaryClick() override { click(1); }

    // The panel must tell the item that its menu opens (AboutToShow, where the client applies
    // the menu's rules) before the user can choose from it.
    bool chooseFromMenu(QChar accelerator, const QString &caption) override
    {
        QProcess monitor;
        monitor.start(
            QStringLiteral("dbus-monitor"),
            {QStringLiteral("--session"), QStringLiteral("interface=com.canonical.dbusmenu")});
        if (!monitor.waitForStarted())
            return false;
        // Until it has become the bus's monitor.
        QTest::qWait(500);
        const bool shown = X11Driver::chooseFromMenu(accelerator, caption);
        QTest::qWait(300);
        monitor.terminate();
        monitor.waitForFinished();
        const QByteArray calls = monitor.readAllStandardOutput();
        const qsizetype opened = calls.indexOf("member=AboutToShow");
        const qsizetype chosen = calls.indexOf("\"clicked\"");
        return shown && opened >= 0 && chosen > opened;
    }
    QString firstMenuCaption() override
    {
        return StatusNotifierItemCaller(registeredItem()).openMenu().children.value(0).caption();
    }
};

class SwayDriver : public TrayHostDriver
{
public:
    QString name() const override { return QStringLiteral("sway"); }
    bool iconShown() override { return !registeredItem().isEmpty(); }
    QString tip() override { return StatusNotifierItemCaller(registeredItem()).toolTipTitle(); }
    void primaryClick() override { StatusNotifierItemCaller(registeredItem()).activate(780, 10); }
    bool chooseFromMenu(QChar, const QString &caption) override
    {
        StatusNotifierItemCaller item(registeredItem());
        const ExportedMenuEntry menu = item.openMenu();
        const ExportedMenuEntry *entry = menu.find(caption);
        return entry && item.click(entry->id);
    }
    QString firstMenuCaption() override
    {
        return StatusNotifierItemCaller(registeredItem()).openMenu().children.value(0).caption();
    }

    bool windowShown(const QString &title) override
    {
        const QJsonDocument tree = QJsonDocument::fromJson(
            RunTool(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")}));
        return hasVisibleWindow(tree.object(), title);
    }

    void closeWindow(const QString &title) override
    {
        RunTool(QStringLiteral("swaymsg"),
                {QStringLiteral("[title=\"^") + title + QStringLiteral("$\"]"),
                 QStringLiteral("kill")});
    }

    QString screenshot(const QString &what) override
    {
        const QString path =
            shotDir() + QStringLiteral("/tray-sway-") + what + QStringLiteral(".png");
        RunTool(QStringLiteral("grim"), {path});
        return path;
    }

private:
    static bool hasVisibleWindow(const QJsonObject &node, const QString &title)
    {
        if (node.value(QStringLiteral("name")).toString() == title &&
            node.value(QStringLiteral("visible")).toBool())
            return true;
        for (const char *key : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node.value(QLatin1String(key)).toArray())
                if (hasVisibleWindow(child.toObject(), title))
                    return true;
        return false;
    }
};

} // namespace

std::unique_ptr<TrayHostDriver> TrayHostDriver::fromEnvironment()
{
    const QByteArray host = qgetenv("MARBELLO_TRAY_HOST");
    if (host == "xfce")
        return std::make_unique<XfceDriver>();
    if (host == "sway")
        return std::make_unique<SwayDriver>();
    return std::make_unique<TrayerDriver>();
}

QByteArray RunTool(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    process.waitForFinished(10000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}
