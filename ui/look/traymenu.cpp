#include "ui/look/traymenu.h"

#include "ui/look/look.h"
#include "ui/look/traymenustyle.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// One style object for every tray menu; it lives as long as the program.
TrayMenuStyle *sharedStyle()
{
    static TrayMenuStyle *style = new TrayMenuStyle;
    return style;
}

} // namespace

TrayMenu::TrayMenu(bool withSideBar, QWidget *parent) : QMenu(parent), m_withSideBar(withSideBar)
{
    setStyle(sharedStyle());
    setFont(DialogFont(12));
    if (withSideBar)
        setContentsMargins(kSideBarWidth, 0, 0, 0);
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::paintEvent(QPaintEvent *event)
{
    QMenu::paintEvent(event);
    if (!m_withSideBar)
        return;
    QPainter painter(this);
    const QRect bar(1, 1, kSideBarWidth, height() - 2);
    QLinearGradient ground(bar.topLeft(), bar.bottomLeft());
    ground.setColorAt(0, QColor(0xE6, 0xF4, 0xE6));
    ground.setColorAt(1, QColor(0xA9, 0xDC, 0xA9));
    painter.fillRect(bar, ground);
    // The caption reads upwards from the bottom, as on a book's spine.
    QFont caption = DialogFont(14);
    caption.setBold(true);
    painter.setFont(caption);
    painter.setPen(QColor(0x80, 0x00, 0x00));
    painter.translate(bar.left(), bar.bottom());
    painter.rotate(-90);
    painter.drawText(QRect(6, 0, bar.height() - 12, bar.width()), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Marbello"));
}
