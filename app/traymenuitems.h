#pragma once

#include <memory>

class QAction;
class TrayMenu;

// The notification-area icon's menu, its items in order with their fixed captions and
// accelerators. The tray window decides what each does and when each is enabled.
struct TrayMenuItems
{
    TrayMenuItems();
    ~TrayMenuItems();

    std::unique_ptr<TrayMenu> pMnuTray;
    QAction *pmnuLogin;
    QAction *pmnuShowOption;
    QAction *pmnuToolsRegister;
    QAction *pmnuToolsUserHome;
    QAction *pmnuToolsBBS;
    QAction *pmnuToolsMessageShow;
    QAction *mnuGotoHome;
    QAction *H1;
    QAction *pmnuExit;
};
