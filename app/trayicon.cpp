#include "app/trayicon.h"

#include "app/trayhost.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(std::chrono::milliseconds hostWait, QObject *parent)
    : QObject(parent), m_hostWait(hostWait)
{}

TrayIcon::~TrayIcon() = default;

TrayHost &TrayIcon::host() const
{
    if (!m_host)
        m_host = std::make_unique<TrayHost>();
    return *m_host;
}

bool TrayIcon::isAvailable() const
{
    return host().kind() != TrayHostKind::None;
}

void TrayIcon::setMenu(QMenu *menu)
{
    m_menu = menu;
}

void TrayIcon::create()
{
    // The toolkit settles once, when its first tray icon is made, whether it speaks to a
    // StatusNotifierItem host or to an X11 tray, so the icon is made only once a host is there.
    m_hostShowsMenu = host().kind() == TrayHostKind::StatusNotifier;
    m_icon = new QSystemTrayIcon(this);
    // Exported for the host to draw. An X11 tray would pop it up at once on the right button,
    // past the icon's own guard, so there the client keeps it.
    if (m_hostShowsMenu && m_menu)
        m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    // The host waits for the answer to its activation call; the dialog that
                    // the click opens runs after it.
                    if (m_hostShowsMenu)
                        QMetaObject::invokeMethod(
                            this, [this] { Q_EMIT primaryClicked(); }, Qt::QueuedConnection);
                    break;
                case QSystemTrayIcon::DoubleClick:
                    // An X11 tray sends a single click first, which does nothing there.
                    if (!m_hostShowsMenu)
                        Q_EMIT primaryClicked();
                    break;
                case QSystemTrayIcon::Context:
                    if (!m_hostShowsMenu)
                        Q_EMIT rightButtonPressed(QCursor::pos());
                    break;
                default:
                    break;
                }
            });
}

bool TrayIcon::add(const QString &iconFile, const QString &tip)
{
    if (!isAvailable() && host().waitForHost(m_hostWait) == TrayHostKind::None)
        return false;
    if (!m_icon)
        create();
    modify(iconFile, tip);
    m_icon->show();
    m_added = true;
    return true;
}

void TrayIcon::modify(const QString &iconFile, const QString &tip)
{
    m_iconFile = iconFile;
    m_tip = tip;
    if (!m_icon)
        return;
    m_icon->setIcon(QIcon(iconFile));
    m_icon->setToolTip(tip);
}

void TrayIcon::remove()
{
    if (m_icon)
        m_icon->hide();
    m_added = false;
}

void TrayIcon::showMessage(const QString &title, const QString &text)
{
    if (!m_added)
        return;
    m_balloonTitle = title;
    m_balloonText = text;
    m_icon->showMessage(title, text, QSystemTrayIcon::Information);
}

void TrayIcon::popUp(QMenu &menu, const QPoint &position)
{
    menu.popup(position);
    menu.activateWindow();
}
