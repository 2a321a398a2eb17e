#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class TrayHost;

// The client's one notification-area icon: its picture, tip, menu and balloons, and what the
// user does with it. Nothing else in the client touches the system tray.
//
// Hosts differ. A StatusNotifierItem host (most desktops, and every Wayland one) reports its
// click as the icon's activation and draws the menu the icon exports, at the icon, in the
// desktop's style. The X11 embedding tray passes on every mouse click; there a double click is
// the primary action and the client pops up its own menu at the icon.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // `hostWait`: how long add() may wait for a desktop whose panel has not started yet.
    explicit TrayIcon(std::chrono::milliseconds hostWait = std::chrono::seconds(30),
                      QObject *parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop offers a notification area now.
    virtual bool isAvailable() const;

    // The menu the icon offers; set before add().
    void setMenu(QMenu *menu);
    // Puts the icon in the notification area, waiting (in the event loop) for one to appear if
    // there is none yet; false when none came in time.
    bool add(const QString &iconFile, const QString &tip);
    // Replaces picture and tip of an added icon.
    void modify(const QString &iconFile, const QString &tip);
    void remove();
    void showMessage(const QString &title, const QString &text);
    // Shows the client's own menu at `position` (global pixels) and returns at once.
    void popUp(QMenu &menu, const QPoint &position);

    bool isAdded() const { return m_added; }
    // The desktop draws the exported menu itself; the client never pops it up.
    bool hostShowsMenu() const { return m_hostShowsMenu; }
    const QString &iconFile() const { return m_iconFile; }
    const QString &toolTip() const { return m_tip; }
    // Title and text of the last balloon shown.
    const QString &balloonTitle() const { return m_balloonTitle; }
    const QString &balloonText() const { return m_balloonText; }

Q_SIGNALS:
    // The icon's primary action: the host's click, or a double click on an X11 tray.
    void primaryClicked();
    // The right button went down on an X11 tray's icon, at `position` (global pixels).
    void rightButtonPressed(QPoint position);

private:
    void create();
    TrayHost &host() const;

    const std::chrono::milliseconds m_hostWait;
    mutable std::unique_ptr<TrayHost> m_host;
    QSystemTrayIcon *m_icon = nullptr;
    QPointer<QMenu> m_menu;
    bool m_added = false;
    bool m_hostShowsMenu = false;
    QString m_iconFile;
    QString m_tip;
    QString m_balloonTitle;
    QString m_balloonText;
};
