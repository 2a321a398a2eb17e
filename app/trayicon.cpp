#include "app/trayicon.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_icon(std::make_unique<QSystemTrayIcon>())
{
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
                else if (reason == QSystemTrayIcon::Context)
                    Q_EMIT rightButtonPressed(QCursor::pos());
            });
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::add(const QString &iconFile, const QString &tip)
{
    if (!isAvailable())
        return false;
    modify(iconFile, tip);
    m_icon->show();
    m_added = true;
    return true;
}

void TrayIcon::modify(const QString &iconFile, const QString &tip)
{
    m_iconFile = iconFile;
    m_tip = tip;
    m_icon->setIcon(QIcon(iconFile));
    m_icon->setToolTip(tip);
}

void TrayIcon::remove()
{
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
