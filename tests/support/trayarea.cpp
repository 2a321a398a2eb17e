#include "tests/support/trayarea.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

TrayIconPixels ReadTrayIconPixels()
{
    // The tray host sits in the top right corner, 32 pixels high.
    QScreen *screen = QGuiApplication::primaryScreen();
    const int left = screen->geometry().width() - 120;
    const QImage image = screen->grabWindow(0, left, 0, 120, 32).toImage();
    TrayIconPixels pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > c.red() + 40 && c.green() > c.blue() + 40)
                ++pixels.green;
            else if (c.red() > 80 && c.red() < 200 && qAbs(c.red() - c.green()) < 8 &&
                     qAbs(c.green() - c.blue()) < 8)
                ++pixels.grey;
        }
    }
    return pixels;
}
