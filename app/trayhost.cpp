#include "app/trayhost.h"

#include "platform/nativetrayarea.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

bool statusNotifierHostRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

TrayHost::TrayHost(QObject *parent) : QObject(parent), m_nativeArea(NativeTrayArea::create())
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto *watcher = new QDBusServiceWatcher(kWatcherService, bus,
                                                QDBusServiceWatcher::WatchForRegistration, this);
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayHost::mayHaveArrived);
        bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                    QStringLiteral("StatusNotifierHostRegistered"), this, SIGNAL(mayHaveArrived()));
    }
    if (m_nativeArea)
        connect(m_nativeArea.get(), &NativeTrayArea::mayHaveArrived, this,
                &TrayHost::mayHaveArrived);
}

TrayHost::~TrayHost() = default;

TrayHostKind TrayHost::kind() const
{
    if (statusNotifierHostRegistered())
        return TrayHostKind::StatusNotifier;
    if (m_nativeArea && m_nativeArea->isPresent())
        return TrayHostKind::X11Embedding;
    return TrayHostKind::None;
}

TrayHostKind TrayHost::waitForHost(std::chrono::milliseconds limit)
{
    TrayHostKind found = kind();
    if (found != TrayHostKind::None)
        return found;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QMetaObject::Connection arrival = connect(this, &TrayHost::mayHaveArrived, &loop, [&] {
        found = kind();
        if (found != TrayHostKind::None)
            loop.quit();
    });
    deadline.start(limit);
    loop.exec();
    disconnect(arrival);
    return found;
}
