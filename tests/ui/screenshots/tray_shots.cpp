#include "app/traymenuitems.h"
#include "app/traywindow.h"
#include "app/welcomewindow.h"
#include "tests/app/traywindowfixture.h"
#include "tests/ui/screenshots/shot.h"
#include "ui/look/traymenu.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

const ShotRegistrar splash("splash", [](ShotContext &) {
    TfrmWelcome welcome;
    return GrabShown(welcome);
});

// The tray menu as it pops up in `state`, with the tools submenu open when asked.
QPixmap trayMenu(ShotContext &c, quint8 state, bool openTools)
{
    QTemporaryDir appDir;
    TfrmClientServiceMain window(c.platform,
                                 {appDir.path(), QApplication::applicationFilePath(),
                                  c.info.ServiceHost, c.info.ShippedDataDir},
                                 std::make_unique<AvailableTrayIcon>());
    window.info().State = state;
    TrayMenu &menu = *window.menu().pMnuTray;
    window.pMnuTrayPopup();
    QPixmap picture = GrabShown(menu);
    if (openTools) {
        auto *tools = menu.findChild<TrayMenu *>(QStringLiteral("pmnuTools"));
        tools->popup(QPoint(0, 0));
        picture = GrabShown(*tools);
    }
    return picture;
}

const ShotRegistrar offline("traymenu_offline",
                            [](ShotContext &c) { return trayMenu(c, StateOffline, false); });
const ShotRegistrar online("traymenu_online",
                           [](ShotContext &c) { return trayMenu(c, StateOnline, false); });
const ShotRegistrar tools("traymenu_tools",
                          [](ShotContext &c) { return trayMenu(c, StateOnline, true); });

} // namespace
