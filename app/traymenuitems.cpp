#include "app/traymenuitems.h"

#include "ui/artwork/artwork.h"
#include "ui/look/traymenu.h"

#include <QCoreApplication>

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
    pmnuLogin =
        addItem(menu, "pmnuLogin", QCoreApplication::translate("TrayMenuItems", "用户登录(&L)..."),
                MenuIcon::Login);
    pmnuShowOption =
        addItem(menu, "pmnuShowOption",
                QCoreApplication::translate("TrayMenuItems", "系统配置(&O)..."), MenuIcon::Options);

    auto *tools = new TrayMenu(false, &menu);
    tools->setObjectName(QStringLiteral("pmnuTools"));
    tools->setTitle(QCoreApplication::translate("TrayMenuItems", "工具(&T)"));
    tools->setIcon(QIcon(Artwork::MenuPicture(MenuIcon::Tools)));
    menu.addMenu(tools);
    pmnuToolsRegister =
        addItem(*tools, "pmnuToolsRegister",
                QCoreApplication::translate("TrayMenuItems", "新用户注册(&R)"), MenuIcon::Register);
    tools->addSeparator();
    pmnuToolsUserHome = addItem(*tools, "pmnuToolsUserHome",
                                QCoreApplication::translate("TrayMenuItems", "个人控制中心(&P)"),
                                MenuIcon::UserHome);
    pmnuToolsBBS = addItem(*tools, "pmnuToolsBBS",
                           QCoreApplication::translate("TrayMenuItems", "[Marbello XP] 论坛"),
                           MenuIcon::Forum);
    tools->addSeparator();
    pmnuToolsMessageShow =
        addItem(*tools, "pmnuToolsMessageShow",
                QCoreApplication::translate("TrayMenuItems", "讯息记录(&M)"), MenuIcon::Messages);

    menu.addSeparator();
    mnuGotoHome = addItem(menu, "mnuGotoHome",
                          QCoreApplication::translate("TrayMenuItems", "[Marbello XP]主页(&F]"),
                          MenuIcon::Home);
    menu.addSeparator();
    H1 = addItem(menu, "H1", QCoreApplication::translate("TrayMenuItems", "帮助(&H)"),
                 MenuIcon::Help);
    menu.addSeparator();
    pmnuExit = addItem(menu, "pmnuExit",
                       QCoreApplication::translate("TrayMenuItems", "退出(&X)..."), MenuIcon::Exit);
}

TrayMenuItems::~TrayMenuItems() = default;
