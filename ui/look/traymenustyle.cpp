#include "ui/look/traymenustyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace {

const QColor kLightGreen(0xC6, 0xEA, 0xC6);
const QColor kGreen(0x2E, 0x7D, 0x32);
const QColor kDisabledText(0x9A, 0x9A, 0x9A);
constexpr int kTextGap = 6;
constexpr int kArrowWidth = 14;

void drawSubmenuArrow(QPainter *painter, const QRect &item, const QColor &colour)
{
    const int x = item.right() - kArrowWidth + 4;
    const int y = item.center().y();
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawPolygon(QPolygon({QPoint(x, y - 4), QPoint(x + 4, y), QPoint(x, y + 4)}));
}

} // namespace

TrayMenuStyle::TrayMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{}

void TrayMenuStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuItem || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    const QRect rect = item->rect;
    painter->fillRect(rect, Qt::white);
    painter->fillRect(QRect(rect.left(), rect.top(), kIconColumn, rect.height()), kLightGreen);
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(kLightGreen.darker(115));
        const int y = rect.center().y();
        painter->drawLine(rect.left() + kIconColumn + kTextGap, y, rect.right() - 2, y);
        painter->restore();
        return;
    }
    const bool enabled = item->state & State_Enabled;
    const bool selected = enabled && (item->state & State_Selected);
    if (selected) {
        painter->setPen(kGreen);
        painter->setBrush(kLightGreen);
        painter->drawRect(rect.adjusted(1, 0, -2, -1));
    }
    if (!item->icon.isNull()) {
        const QPixmap icon = item->icon.pixmap(16, enabled ? QIcon::Normal : QIcon::Disabled);
        painter->drawPixmap(rect.left() + (kIconColumn - 16) / 2, rect.center().y() - 8, icon);
    }
    const QColor text = enabled ? QColor(Qt::black) : kDisabledText;
    painter->setPen(text);
    painter->setFont(item->font);
    QString caption = item->text;
    const qsizetype tab = caption.indexOf(QLatin1Char('\t'));
    if (tab >= 0)
        caption.truncate(tab);
    const QRect textRect = rect.adjusted(kIconColumn + kTextGap, 0, -kArrowWidth, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
        drawSubmenuArrow(painter, rect, text);
    painter->restore();
}

void TrayMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                  QPainter *painter, const QWidget *widget) const
{
    if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, Qt::white);
        return;
    }
    if (element == PE_FrameMenu) {
        painter->setPen(kGreen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize TrayMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                      const QSize &size, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return {size.width(), 7};
    const int textWidth =
        item->fontMetrics.horizontalAdvance(QString(item->text).remove(QLatin1Char('&')));
    return {kIconColumn + kTextGap + textWidth + kArrowWidth + 12, kItemHeight};
}

int TrayMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                               const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 1;
    case PM_SmallIconSize:
        return 16;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
