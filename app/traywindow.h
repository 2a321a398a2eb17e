#pragma once

#include "app/clientlifecycle.h"
#include "core/clientserviceinfo.h"

#include <QObject>
#include <memory>
#include <optional>

class DialogSet;
class Platform;
class StartupAutoLogin;
class TrayIcon;
struct TrayMenuItems;

// The client's never-shown main window: it owns the client state, the notification-area icon
// and its menu, and every dialog. Creation does the start-up; closing saves and ends the program.
class TfrmClientServiceMain : public QObject
{
    Q_OBJECT
public:
    struct Credentials
    {
        QString logid;
        QString password;
    };

    // Creation up to the dialogs: client state, icon (offline), config.xml read, start entry,
    // config.xml rewritten; each dialog is made when first needed.
    TfrmClientServiceMain(Platform &platform, const ClientEnvironment &environment,
                          std::unique_ptr<TrayIcon> trayIcon, QObject *parent = nullptr);
    ~TfrmClientServiceMain() override;

    // The rest of creation, run from the event loop: the options dialog when the site settings
    // are incomplete, then the automatic login, the command line's login, or the login dialog.
    void startSession(const std::optional<Credentials> &credentials);

    // The closing steps, once: icon removed, config.xml saved, exit entry; then closed() tells
    // the application to end. The session with the service is not logged off.
    void closeWindow();

    TClientServiceInfo &info() { return m_info; }
    DialogSet &dialogs() { return *m_dialogs; }
    TrayIcon &trayIcon() { return *m_trayIcon; }
    TrayMenuItems &menu() { return *m_menu; }
    bool isClosed() const { return m_closed; }

    // The icon's mouse handling: the primary click (the host's activation, or a double click on
    // an X11 tray) and the right button on an X11 tray.
    void trayPrimaryClick();
    void trayRightButton(QPoint position);
    // Sets the menu's items for the current state, as each pop-up does.
    void pMnuTrayPopup();

    // Menu commands.
    void pmnuLoginClick();
    void pmnuShowOptionClick();
    void pmnuToolsRegisterClick();
    void pmnuToolsUserHomeClick();
    void pmnuToolsBBSClick();
    void pmnuToolsMessageShowClick();
    void mnuGotoHomeClick();
    void H1Click();
    void pmnuExitClick();

Q_SIGNALS:
    void closed();

public:
    quint8 ShownState = StateOffline;
    bool InTrayMessage = false;

private:
    void UpdateTrayIcon();
    void followState();
    void showNewMessage();
    void openPage(const QString &path);
    void connectMenu();
    bool addLateTrayIcon();

    Platform &m_platform;
    TClientServiceInfo m_info;
    std::unique_ptr<TrayIcon> m_trayIcon;
    std::unique_ptr<TrayMenuItems> m_menu;
    std::unique_ptr<DialogSet> m_dialogs;
    std::unique_ptr<StartupAutoLogin> m_autoLogin;
    bool m_trayPending = false;
    bool m_refreshPending = false;
    bool m_closed = false;
};

// "/user/logindo.asp?logid=<logid>&password=<password>" and the like with each placeholder
// replaced, matched without regard to case; the values go in as they are.
QString FillLoginPlaceholders(QString path, const QString &logid, const QString &password);
