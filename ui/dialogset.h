#pragma once

#include <QObject>
#include <memory>

class Platform;
class QDialog;
class TClientServiceInfo;
class TfrmChangeWebArea;
class TfrmLogin;
class TfrmMessageShow;
class TfrmOption;
class TfrmRegister;
class TfrmRegisterAgree;

// Brings a visible dialog to the front; otherwise shows it modally (returning once it closes).
void OpenOrRaise(QDialog &dialog);

// Every dialog of the client, each created hidden when it is first needed and then kept and
// reused for every showing, so that a client idle in the tray holds no window it never opened.
// The links between them (the login dialog's buttons, the options dialog's category button) are
// made here, so no dialog knows another's owner.
class DialogSet : public QObject
{
    Q_OBJECT
public:
    DialogSet(TClientServiceInfo &info, Platform &platform);
    ~DialogSet() override;

    TfrmLogin &login();
    TfrmOption &option();
    TfrmChangeWebArea &chooser();
    TfrmRegister &registration();
    TfrmRegisterAgree &agreement();
    TfrmMessageShow &messages();

    // The login dialog's connection picture follows the session; a dialog not yet made shows
    // the right one when it is.
    void RefreshConnectionImage();

    // The agreement, then (when accepted with Next) the registration form, both modal.
    void RunRegistration();
    // From the tray menu: raises whichever of the two is open, else runs the registration.
    void OpenOrRaiseRegistration();

private:
    TClientServiceInfo &m_info;
    Platform &m_platform;
    std::unique_ptr<TfrmLogin> m_login;
    std::unique_ptr<TfrmOption> m_option;
    std::unique_ptr<TfrmChangeWebArea> m_chooser;
    std::unique_ptr<TfrmRegister> m_register;
    std::unique_ptr<TfrmRegisterAgree> m_agree;
    std::unique_ptr<TfrmMessageShow> m_messages;
};
