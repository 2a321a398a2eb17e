#include "tests/support/statusnotifierhost.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The answer to `call`, waited for in the event loop (5 s at most).
QDBusMessage callAndWait(const QDBusMessage &call)
{
    QDBusPendingCallWatcher watcher(QDBusConnection::sessionBus().asyncCall(call, 5000));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(6000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return watcher.reply();
}

QVariant property(const QString &service, const QString &path, const QString &interface,
                  const QString &name)
{
    QDBusMessage get =
        QDBusMessage::createMethodCall(service, path, kProperties, QStringLiteral("Get"));
    get << interface << name;
    const QDBusMessage reply = callAndWait(get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

ExportedMenuEntry readEntry(const QDBusArgument &argument)
{
    ExportedMenuEntry entry;
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        entry.children << readEntry(child.variant().value<QDBusArgument>());
    }
    argument.endArray();
    argument.endStructure();
    return entry;
}

} // namespace

// The watcher object itself; it lives in the watcher's thread.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
public:
    explicit FakeWatcher(StatusNotifierWatcherThread &owner) : m_owner(owner) {}
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList registeredItems() const { return m_owner.items(); }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service)
    {
        m_owner.addItem(service);
        Q_EMIT StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString &) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierItemUnregistered(const QString &service);
    void StatusNotifierHostRegistered();

private:
    StatusNotifierWatcherThread &m_owner;
};

StatusNotifierWatcherThread::StatusNotifierWatcherThread() = default;

StatusNotifierWatcherThread::~StatusNotifierWatcherThread()
{
    quit();
    wait();
}

void StatusNotifierWatcherThread::startHosting()
{
    start();
    m_ready.acquire();
}

QStringList StatusNotifierWatcherThread::items() const
{
    QMutexLocker lock(&m_mutex);
    return m_items;
}

void StatusNotifierWatcherThread::addItem(const QString &service)
{
    QMutexLocker lock(&m_mutex);
    m_items << service;
}

void StatusNotifierWatcherThread::run()
{
    const QString name = QStringLiteral("status-notifier-host");
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        FakeWatcher watcher(*this);
        bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                           QDBusConnection::ExportAllContents);
        bus.registerService(kWatcherService);
        Q_EMIT watcher.StatusNotifierHostRegistered();
        m_ready.release();
        exec();
        bus.unregisterService(kWatcherService);
    }
    QDBusConnection::disconnectFromBus(name);
}

bool ExportedMenuEntry::isSeparator() const
{
    return properties.value(QStringLiteral("type")).toString() == QStringLiteral("separator");
}

bool ExportedMenuEntry::isEnabled() const
{
    return properties.value(QStringLiteral("enabled"), true).toBool();
}

QString ExportedMenuEntry::caption() const
{
    QString label = properties.value(QStringLiteral("label")).toString();
    return label.replace(QLatin1Char('_'), QLatin1Char('&'));
}

const ExportedMenuEntry *ExportedMenuEntry::find(const QString &wanted) const
{
    for (const ExportedMenuEntry &child : children) {
        if (child.caption() == wanted)
            return &child;
        if (const ExportedMenuEntry *below = child.find(wanted))
            return below;
    }
    return nullptr;
}

StatusNotifierItemCaller::StatusNotifierItemCaller(QString service) : m_service(std::move(service))
{}

bool StatusNotifierItemCaller::activate(int x, int y)
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, kItemPath, kItemInterface,
                                                       QStringLiteral("Activate"));
    call << x << y;
    return callAndWait(call).type() == QDBusMessage::ReplyMessage;
}

QString StatusNotifierItemCaller::menuPath()
{
    return property(m_service, kItemPath, kItemInterface, QStringLiteral("Menu"))
        .value<QDBusObjectPath>()
        .path();
}

ExportedMenuEntry StatusNotifierItemCaller::openMenu()
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, menuPath(), kMenuInterface,
                                                       QStringLiteral("AboutToShow"));
    call << 0;
    callAndWait(call);
    return readMenu();
}

ExportedMenuEntry StatusNotifierItemCaller::readMenu()
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, menuPath(), kMenuInterface,
                                                       QStringLiteral("GetLayout"));
    call << 0 << -1 << QStringList();
    const QDBusMessage reply = callAndWait(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
        return {};
    return readEntry(reply.arguments().at(1).value<QDBusArgument>());
}

bool StatusNotifierItemCaller::click(int id)
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, menuPath(), kMenuInterface,
                                                       QStringLiteral("Event"));
    call << id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    return callAndWait(call).type() == QDBusMessage::ReplyMessage;
}

QString StatusNotifierItemCaller::toolTipTitle()
{
    const QVariant toolTip =
        property(m_service, kItemPath, kItemInterface, QStringLiteral("ToolTip"));
    // (sa(iiay)ss): icon name, icon pixmaps, title, text.
    const QDBusArgument argument = toolTip.value<QDBusArgument>();
    QString iconName;
    QString title;
    argument.beginStructure();
    argument >> iconName;
    argument.beginArray();
    while (!argument.atEnd()) {
        argument.beginStructure();
        int width = 0;
        int height = 0;
        QByteArray bytes;
        argument >> width >> height >> bytes;
        argument.endStructure();
    }
    argument.endArray();
    argument >> title;
    argument.endStructure();
    return title;
}

#include "statusnotifierhost.moc"
