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

// Every dialog of the client, created once, hidden, in the order the client has always created
// them, and reused for every showing. The links between them (the login dialog's buttons, the
// options dialog's category button) are made here, so no dialog knows another's owner.
class DialogSet : public QObject
{
    Q_OBJECT
public:
    DialogSet(TClientServiceInfo &info, Platform &platform);
    ~DialogSet() override;

    TfrmLogin &login() const { return *m_login; }
    TfrmOption &option() const { return *m_option; }
    TfrmChangeWebArea &chooser() const { return *m_chooser; }
    TfrmRegister &registration() const { return *m_register; }
    TfrmRegisterAgree &agreement() const { return *m_agree; }
    TfrmMessageShow &messages() const { return *m_messages; }

    // The agreement, then (when accepted with Next) the registration form, both modal.
    void RunRegistration();
    // From the tray menu: raises whichever of the two is open, else runs the registration.
    void OpenOrRaiseRegistration();

private:
    std::unique_ptr<TfrmLogin> m_login;
    std::unique_ptr<TfrmOption> m_option;
    std::unique_ptr<TfrmChangeWebArea> m_chooser;
    std::unique_ptr<TfrmRegister> m_register;
    std::unique_ptr<TfrmRegisterAgree> m_agree;
    std::unique_ptr<TfrmMessageShow> m_messages;
};
