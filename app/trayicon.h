#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>

class QMenu;
class QSystemTrayIcon;

// The client's one notification-area icon: its picture, tip and balloons, and what the user does
// with it. Nothing else in the client touches the system tray.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop offers a notification area at all.
    virtual bool isAvailable() const;

    // Puts the icon in the notification area; false when the desktop refuses.
    bool add(const QString &iconFile, const QString &tip);
    // Replaces picture and tip of an added icon.
    void modify(const QString &iconFile, const QString &tip);
    void remove();
    void showMessage(const QString &title, const QString &text);
    // Shows `menu` at `position` (global pixels) and returns at once.
    void popUp(QMenu &menu, const QPoint &position);

    bool isAdded() const { return m_added; }
    const QString &iconFile() const { return m_iconFile; }
    const QString &toolTip() const { return m_tip; }
    // Title and text of the last balloon shown.
    const QString &balloonTitle() const { return m_balloonTitle; }
    const QString &balloonText() const { return m_balloonText; }

Q_SIGNALS:
    void doubleClicked();
    // The right button went down on the icon, at `position` (global pixels).
    void rightButtonPressed(QPoint position);

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_added = false;
    QString m_iconFile;
    QString m_tip;
    QString m_balloonTitle;
    QString m_balloonText;
};
