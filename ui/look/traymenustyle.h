#pragma once

#include <QProxyStyle>

// Draws the tray menu's items: white ground, a 24-pixel light-green icon column, and the
// selection as a light-green box with a green border.
class TrayMenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    static constexpr int kIconColumn = 24;
    static constexpr int kItemHeight = 22;

    TrayMenuStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
};
