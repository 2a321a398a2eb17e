#include "ui/artwork/artwork.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kDarkGreen(0x2E, 0x7D, 0x32);
const QColor kGreen(0x4C, 0xAF, 0x50);
const QColor kLightGreen(0xC6, 0xEA, 0xC6);

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A globe with meridians and parallels in `rect`.
void drawGlobe(QPainter &painter, const QRectF &rect, const QColor &light, const QColor &dark)
{
    QRadialGradient shade(rect.center() - QPointF(rect.width() / 5, rect.height() / 5),
                          rect.width() * 0.7);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setBrush(shade);
    const qreal line = qMax<qreal>(1, rect.width() / 16);
    painter.setPen(QPen(dark.darker(140), line));
    painter.drawEllipse(rect);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 170), line * 0.8));
    painter.drawEllipse(rect.adjusted(rect.width() * 0.3, 0, -rect.width() * 0.3, 0));
    painter.drawLine(QPointF(rect.center().x(), rect.top()),
                     QPointF(rect.center().x(), rect.bottom()));
    painter.drawLine(QPointF(rect.left(), rect.center().y()),
                     QPointF(rect.right(), rect.center().y()));
}

} // namespace

namespace Artwork {

QImage TrayIcon(bool online, int size)
{
    QImage image = transparentImage(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 16.0;
    const QRectF globe(margin, margin, size - 2 * margin, size - 2 * margin);
    if (online)
        drawGlobe(painter, globe, QColor(0xA5, 0xE8, 0xA8), kDarkGreen);
    else
        drawGlobe(painter, globe, QColor(0xE0, 0xE0, 0xE0), QColor(0x75, 0x75, 0x75));
    if (!online) {
        // A red bar across the lower right says "not connected" even in a small tray.
        const qreal bar = size * 0.42;
        const QRectF badge(size - bar - margin / 2, size - bar - margin / 2, bar, bar);
        painter.setPen(QPen(Qt::white, qMax<qreal>(1, size / 24.0)));
        painter.setBrush(QColor(0xC6, 0x28, 0x28));
        painter.drawEllipse(badge);
        painter.setPen(QPen(Qt::white, qMax<qreal>(1.5, size / 10.0), Qt::SolidLine, Qt::RoundCap));
        const qreal inset = bar * 0.28;
        painter.drawLine(badge.topLeft() + QPointF(inset, bar / 2),
                         badge.topRight() + QPointF(-inset, bar / 2));
    }
    return image;
}

QPixmap ConnectionPicture(bool online)
{
    return QPixmap::fromImage(TrayIcon(online, 32));
}

QPixmap SplashPicture()
{
    QImage image(350, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(0xF4, 0xFB, 0xF4));
    sky.setColorAt(1, kLightGreen);
    painter.fillRect(image.rect(), sky);
    // Rolling hills along the bottom.
    QPainterPath hills(QPointF(0, 200));
    hills.lineTo(0, 150);
    hills.cubicTo(90, 120, 180, 175, 260, 140);
    hills.cubicTo(300, 125, 330, 130, 350, 138);
    hills.lineTo(350, 200);
    painter.fillPath(hills, QColor(0x9C, 0xD6, 0x9E));
    drawGlobe(painter, QRectF(250, 24, 78, 78), QColor(0xA5, 0xE8, 0xA8), kDarkGreen);
    painter.setPen(kDarkGreen);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(20, 28, 230, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Marbello"));
    title.setPixelSize(22);
    painter.setPen(kGreen);
    painter.setFont(title);
    painter.drawText(QRectF(22, 70, 100, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("XP"));
    painter.setPen(QColor(0x33, 0x33, 0x33));
    QFont subtitle;
    subtitle.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    subtitle.setPixelSize(14);
    painter.setFont(subtitle);
    painter.drawText(QRectF(22, 108, 300, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("Artwork", "个人网站发布客户端"));
    return QPixmap::fromImage(image);
}

QPixmap TitleStrip()
{
    QImage image(8, 24, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 24);
    gradient.setColorAt(0, QColor(0x5F, 0xB8, 0x63));
    gradient.setColorAt(0.5, kGreen);
    gradient.setColorAt(1, kDarkGreen);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawLine(0, 0, 8, 0);
    return QPixmap::fromImage(image);
}

QPixmap ClosePicture()
{
    QImage image(21, 21, QImage::Format_ARGB32_Premultiplied);
    image.fill(kLightGreen);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kDarkGreen, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3.5, 3.5, 14, 14), 2, 2);
    painter.setPen(QPen(kDarkGreen, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.5, 7.5), QPointF(13.5, 13.5));
    painter.drawLine(QPointF(13.5, 7.5), QPointF(7.5, 13.5));
    return QPixmap::fromImage(image);
}

QPixmap MenuPicture(MenuIcon icon, int size)
{
    QImage image = transparentImage(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    const QPen outline(kDarkGreen, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(kLightGreen);
    switch (icon) {
    case MenuIcon::Login: // a key
        painter.drawEllipse(QRectF(1.5, 5, 6, 6));
        painter.drawLine(QPointF(7.5, 8), QPointF(14.5, 8));
        painter.drawLine(QPointF(12.5, 8), QPointF(12.5, 11));
        painter.drawLine(QPointF(14.5, 8), QPointF(14.5, 10.5));
        break;
    case MenuIcon::Options: // a gear
        for (int tooth = 0; tooth < 8; ++tooth) {
            painter.save();
            painter.translate(8, 8);
            painter.rotate(tooth * 45);
            painter.drawRect(QRectF(-1.2, -7, 2.4, 3));
            painter.restore();
        }
        painter.drawEllipse(QRectF(3, 3, 10, 10));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(6, 6, 4, 4));
        break;
    case MenuIcon::Tools: // a wrench
        painter.drawEllipse(QRectF(1.5, 1.5, 6, 6));
        painter.setPen(QPen(kDarkGreen, 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        break;
    case MenuIcon::Register: // a person with a plus
        painter.drawEllipse(QRectF(3, 1.5, 5, 5));
        painter.drawChord(QRectF(1, 7.5, 9, 10), 0, 180 * 16);
        painter.drawLine(QPointF(12.5, 6), QPointF(12.5, 12));
        painter.drawLine(QPointF(9.5, 9), QPointF(15.5, 9));
        break;
    case MenuIcon::UserHome: // a person
        painter.drawEllipse(QRectF(5, 1.5, 6, 6));
        painter.drawChord(QRectF(2.5, 8, 11, 12), 0, 180 * 16);
        break;
    case MenuIcon::Forum: // two speech bubbles
        painter.drawRoundedRect(QRectF(1.5, 2, 9, 7), 2, 2);
        painter.drawRoundedRect(QRectF(5.5, 7, 9, 7), 2, 2);
        break;
    case MenuIcon::Messages: // an envelope
        painter.drawRect(QRectF(1.5, 3.5, 13, 9));
        painter.drawPolyline(QPolygonF({{1.5, 3.5}, {8, 9}, {14.5, 3.5}}));
        break;
    case MenuIcon::Home: // a house
        painter.drawPolygon(
            QPolygonF({{8, 1.5}, {15, 8}, {13, 8}, {13, 14.5}, {3, 14.5}, {3, 8}, {1, 8}}));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(6.5, 10, 3, 4.5));
        break;
    case MenuIcon::Help: // a question mark in a circle
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(QPen(kDarkGreen, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(5.5, 4, 5, 4.5), 180 * 16, -240 * 16);
        painter.drawLine(QPointF(8, 8.5), QPointF(8, 9.5));
        painter.drawPoint(QPointF(8, 12));
        break;
    case MenuIcon::Exit: // a power symbol
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xC6, 0x28, 0x28), 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
        painter.drawLine(QPointF(8, 1.5), QPointF(8, 8));
        break;
    }
    return QPixmap::fromImage(image);
}

} // namespace Artwork
