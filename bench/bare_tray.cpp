// The smallest tray program Qt makes: an application, a 32-pixel icon in the notification area
// and a menu of one item. bench_tray measures it beside the client as the floor of what any tray
// client costs on the same desktop.
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Blue, so that nothing reading the client's green or grey globe mistakes it for the client.
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0x30, 0x50, 0xD0));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(2, 2, 28, 28);
    }
    QMenu menu;
    menu.addAction(QStringLiteral("Quit"), &application, &QCoreApplication::quit);
    QSystemTrayIcon icon{QIcon(picture)};
    icon.setContextMenu(&menu);
    icon.show();
    std::puts("shown");
    std::fflush(stdout);
    return QApplication::exec();
}
