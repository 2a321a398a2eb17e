#pragma once

#include <QImage>
#include <QPixmap>

// The client's pictures, drawn in code so that every shipped picture can be made again from its
// source. Colours follow the light green of the dialogs.
namespace Artwork {

// The notification-area icon: a green globe when online, a grey one otherwise.
QImage TrayIcon(bool online, int size);
// 32x32 connection pictures of the login dialog.
QPixmap ConnectionPicture(bool online);
// 350x200 splash picture.
QPixmap SplashPicture();
// A short slice of the title strip; dialogs stretch it to their width and 24 pixels.
QPixmap TitleStrip();
// 21x21 close picture.
QPixmap ClosePicture();

enum class MenuIcon {
    Login,
    Options,
    Tools,
    Register,
    UserHome,
    Forum,
    Messages,
    Home,
    Help,
    Exit
};
QPixmap MenuPicture(MenuIcon icon, int size = 16);

} // namespace Artwork
