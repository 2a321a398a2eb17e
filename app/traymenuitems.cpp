#include "app/traymenuitems.h"

#include "ui/artwork/artwork.h"
#include "ui/look/traymenu.h"

namespace {

QAction *addItem(QMenu &menu, const char *name, const QString &caption, Artwork::MenuIcon icon)
{
    QAction *action = menu.addAction(QIcon(Artwork::MenuPicture(icon)), caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TrayMenuItems::TrayMenuItems() : pMnuTray(std::make_unique<TrayMenu>(true))
{
    using Artwork::MenuIcon;
    TrayMenu &menu = *pMnuTray;
    menu.setObjectName(QStringLiteral("pMnuTray"));
    pmnuLogin = addItem(menu, "pmnuLogin", QStringLiteral("用户登录(&L)..."), MenuIcon::Login);
    pmnuShowOption =
        addItem(menu, "pmnuShowOption", QStringLiteral("系统配置(&O)..."), MenuIcon::Options);

    auto *tools = new TrayMenu(false, &menu);
    tools->setObjectName(QStringLiteral("pmnuTools"));
    tools->setTitle(QStringLiteral("工具(&T)"));
    tools->setIcon(QIcon(Artwork::MenuPicture(MenuIcon::Tools)));
    menu.addMenu(tools);
    pmnuToolsRegister =
        addItem(*tools, "pmnuToolsRegister", QStringLiteral("新用户注册(&R)"), MenuIcon::Register);
    tools->addSeparator();
    pmnuToolsUserHome = addItem(*tools, "pmnuToolsUserHome", QStringLiteral("个人控制中心(&P)"),
                                MenuIcon::UserHome);
    pmnuToolsBBS =
        addItem(*tools, "pmnuToolsBBS", QStringLiteral("[Marbello XP] 论坛"), MenuIcon::Forum);
    tools->addSeparator();
    pmnuToolsMessageShow =
        addItem(*tools, "pmnuToolsMessageShow", QStringLiteral("讯息记录(&M)"), MenuIcon::Messages);

    menu.addSeparator();
    mnuGotoHome =
        addItem(menu, "mnuGotoHome", QStringLiteral("[Marbello XP]主页(&F]"), MenuIcon::Home);
    menu.addSeparator();
    H1 = addItem(menu, "H1", QStringLiteral("帮助(&H)"), MenuIcon::Help);
    menu.addSeparator();
    pmnuExit = addItem(menu, "pmnuExit", QStringLiteral("退出(&X)..."), MenuIcon::Exit);
}

TrayMenuItems::~TrayMenuItems() = default;
