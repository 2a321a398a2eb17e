#include "app/traywindow.h"

#include "app/trayicon.h"
#include "app/traymenuitems.h"
#include "core/storedmessages.h"
#include "core/websitesettings.h"
#include "platform/platform.h"
#include "protocol/keepalive.h"
#include "protocol/logoff.h"
#include "protocol/startupautologin.h"
#include "ui/dialogset.h"
#include "ui/login/loginwindow.h"
#include "ui/look/traymenu.h"
#include "ui/messagebox.h"
#include "ui/messages/messagewindow.h"
#include "ui/options/optionswindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {

const char kLoginPage[] = "/user/logindo.asp?logid=<logid>&password=<password>";
const char kForumLoginPage[] = "/user/logindo.asp?logid=<logid>&password=<password>&comefrom=/bbs2";

QString offlineTip()
{
    return QCoreApplication::translate("TfrmClientServiceMain", "Marbello XP (未登录)");
}

} // namespace

QString FillLoginPlaceholders(QString path, const QString &logid, const QString &password)
{
    path.replace(QStringLiteral("<logid>"), logid, Qt::CaseInsensitive);
    return path.replace(QStringLiteral("<password>"), password, Qt::CaseInsensitive);
}

TfrmClientServiceMain::TfrmClientServiceMain(Platform &platform,
                                             const ClientEnvironment &environment,
                                             std::unique_ptr<TrayIcon> trayIcon, QObject *parent)
    : QObject(parent), m_platform(platform), m_trayIcon(std::move(trayIcon)),
      m_menu(std::make_unique<TrayMenuItems>())
{
    InitializeClient(m_info, platform, environment);
    BindKeepAliveTimer(m_info);
    m_trayIcon->setMenu(m_menu->pMnuTray.get());
    // A panel that starts after the client is waited for once the event loop runs.
    m_trayPending =
        !m_trayIcon->isAvailable() ||
        !m_trayIcon->add(m_info.shippedPath(QStringLiteral("offline.ico")), offlineTip());
    LoadAndRewriteConfig(m_info);
    m_dialogs = std::make_unique<DialogSet>(m_info, platform);
    m_autoLogin = std::make_unique<StartupAutoLogin>(m_info);

    // The icon follows the session without polling: each change schedules one refresh.
    m_info.State.observe([this](quint8) { followState(); });
    m_info.HasMessages.observe([this](bool) { showNewMessage(); });
    // The cause is in the activity log; the balloon only says where to look.
    m_info.StoreFailures.observe([this](const QString &) {
        m_trayIcon->showMessage(QStringLiteral("Marbello XP"), StoreTroubleNotice());
    });
    connect(m_trayIcon.get(), &TrayIcon::primaryClicked, this,
            &TfrmClientServiceMain::trayPrimaryClick);
    connect(m_trayIcon.get(), &TrayIcon::rightButtonPressed, this,
            &TfrmClientServiceMain::trayRightButton);
    connectMenu();
}

TfrmClientServiceMain::~TfrmClientServiceMain() = default;

void TfrmClientServiceMain::connectMenu()
{
    // Queued, so that a command runs after the menu has closed and the icon handler has ended.
    // A desktop that draws the menu itself shows it even while a dialog opened by a click on
    // the icon is open; the icon's guard then holds for its commands too.
    const auto bind = [this](QAction *action, void (TfrmClientServiceMain::*command)()) {
        connect(
            action, &QAction::triggered, this,
            [this, command] {
                if (!InTrayMessage)
                    (this->*command)();
            },
            Qt::QueuedConnection);
    };
    bind(m_menu->pmnuLogin, &TfrmClientServiceMain::pmnuLoginClick);
    bind(m_menu->pmnuShowOption, &TfrmClientServiceMain::pmnuShowOptionClick);
    bind(m_menu->pmnuToolsRegister, &TfrmClientServiceMain::pmnuToolsRegisterClick);
    bind(m_menu->pmnuToolsUserHome, &TfrmClientServiceMain::pmnuToolsUserHomeClick);
    bind(m_menu->pmnuToolsBBS, &TfrmClientServiceMain::pmnuToolsBBSClick);
    bind(m_menu->pmnuToolsMessageShow, &TfrmClientServiceMain::pmnuToolsMessageShowClick);
    bind(m_menu->mnuGotoHome, &TfrmClientServiceMain::mnuGotoHomeClick);
    bind(m_menu->H1, &TfrmClientServiceMain::H1Click);
    bind(m_menu->pmnuExit, &TfrmClientServiceMain::pmnuExitClick);
    connect(m_menu->pMnuTray.get(), &QMenu::aboutToShow, this,
            &TfrmClientServiceMain::pMnuTrayPopup);
}

bool TfrmClientServiceMain::addLateTrayIcon()
{
    if (m_trayIcon->add(m_info.shippedPath(QStringLiteral("offline.ico")), offlineTip()))
        return true;
    if (m_closed)
        return false;
    std::fputs("no notification area on this desktop; --headless runs the client without "
               "a tray\n",
               stderr);
    PlatformMessageBox(QStringLiteral("Marbello XP"), QStringLiteral("Failed!"));
    return false;
}

void TfrmClientServiceMain::startSession(const std::optional<Credentials> &credentials)
{
    if (m_trayPending && !addLateTrayIcon()) {
        closeWindow();
        return;
    }
    m_trayPending = false;
    if (!WebSiteSettingsComplete(m_info))
        OpenOrRaise(m_dialogs->option());
    if (m_closed)
        return;
    if (credentials) {
        const CredentialsLogin login =
            LoginWithCredentials(m_info, credentials->logid, credentials->password);
        if (login.online)
            return;
        const QString status = login.sent ? tr("登录失败: ") + login.message : login.message;
        std::fprintf(stderr, "%s\n", qUtf8Printable(status));
        m_dialogs->login().presetFailure(credentials->logid, credentials->password, status);
        OpenOrRaise(m_dialogs->login());
    } else if (m_info.AutoLogin) {
        m_autoLogin->start();
    } else {
        OpenOrRaise(m_dialogs->login());
    }
}

void TfrmClientServiceMain::followState()
{
    if (m_info.State == StateOnline)
        m_autoLogin->cancel();
    // A desktop that draws the menu may read it at any time, not only when it opens.
    if (m_trayIcon->hostShowsMenu())
        pMnuTrayPopup();
    m_dialogs->RefreshConnectionImage();
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshPending = false;
        if (m_info.State == ShownState)
            return;
        UpdateTrayIcon();
        ShownState = m_info.State;
    });
}

void TfrmClientServiceMain::UpdateTrayIcon()
{
    if (!m_trayIcon->isAdded())
        return;
    if (m_info.State == StateOnline)
        m_trayIcon->modify(m_info.shippedPath(QStringLiteral("online.ico")),
                           tr("Marbello XP (已登录)"));
    else
        m_trayIcon->modify(m_info.shippedPath(QStringLiteral("offline.ico")), offlineTip());
}

void TfrmClientServiceMain::showNewMessage()
{
    // The newest message leads the store; only it is read.
    const StoredMessages newest = ReadStoredMessages(m_info.messagesPath(), 1);
    m_trayIcon->showMessage(tr("收到新讯息"),
                            newest.messages.empty() ? QString() : newest.messages.front().comment);
}

void TfrmClientServiceMain::trayPrimaryClick()
{
    if (InTrayMessage)
        return;
    InTrayMessage = true;
    if (m_info.State == StateOnline)
        OpenOrRaise(m_dialogs->option());
    else
        pmnuLoginClick();
    InTrayMessage = false;
}

void TfrmClientServiceMain::trayRightButton(QPoint position)
{
    if (InTrayMessage)
        return;
    InTrayMessage = true;
    m_trayIcon->popUp(*m_menu->pMnuTray, position);
    InTrayMessage = false;
}

void TfrmClientServiceMain::pMnuTrayPopup()
{
    const bool online = m_info.State == StateOnline;
    m_menu->pmnuToolsUserHome->setEnabled(online);
    if (m_info.LoggingIn || m_info.LoggingOff) {
        m_menu->pmnuLogin->setEnabled(false);
        m_menu->pmnuLogin->setText(m_info.LoggingIn ? tr("用户登录中...") : tr("用户注销中..."));
        return;
    }
    m_menu->pmnuLogin->setEnabled(true);
    m_menu->pmnuLogin->setText(online ? tr("退出登录(&L)...") : tr("用户登录(&L)..."));
}

void TfrmClientServiceMain::pmnuLoginClick()
{
    // The user takes over: no automatic retry competes with a login or logoff by hand.
    m_autoLogin->cancel();
    if (m_info.State == StateOnline)
        Logoff(m_info, m_info.SessionLogid);
    else
        OpenOrRaise(m_dialogs->login());
}

void TfrmClientServiceMain::pmnuShowOptionClick()
{
    OpenOrRaise(m_dialogs->option());
}

void TfrmClientServiceMain::pmnuToolsRegisterClick()
{
    m_dialogs->OpenOrRaiseRegistration();
}

void TfrmClientServiceMain::pmnuToolsUserHomeClick()
{
    openPage(FillLoginPlaceholders(QLatin1String(kLoginPage), m_info.SessionLogid,
                                   m_info.SessionPassword));
}

void TfrmClientServiceMain::pmnuToolsBBSClick()
{
    if (m_info.State == StateOnline)
        openPage(FillLoginPlaceholders(QLatin1String(kForumLoginPage), m_info.SessionLogid,
                                       m_info.SessionPassword));
    else
        openPage(QStringLiteral("/bbs2"));
}

void TfrmClientServiceMain::pmnuToolsMessageShowClick()
{
    m_info.HasMessages = false;
    OpenOrRaise(m_dialogs->messages());
}

void TfrmClientServiceMain::mnuGotoHomeClick()
{
    openPage(QString());
}

void TfrmClientServiceMain::H1Click()
{
    openPage(QStringLiteral("/kbz/help"));
}

void TfrmClientServiceMain::pmnuExitClick()
{
    if (YNBOX(tr("退出"), tr("确认要终止服务并退出吗?"), 0) == IDYES)
        closeWindow();
}

void TfrmClientServiceMain::openPage(const QString &path)
{
    m_platform.OpenURL(m_info, m_info.serviceUrl(path));
}

void TfrmClientServiceMain::closeWindow()
{
    if (m_closed)
        return;
    m_closed = true;
    m_autoLogin->cancel();
    m_trayIcon->remove();
    CloseClient(m_info);
    Q_EMIT closed();
}
