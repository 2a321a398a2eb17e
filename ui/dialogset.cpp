#include "ui/dialogset.h"

#include "ui/login/loginwindow.h"
#include "ui/messages/messagewindow.h"
#include "ui/options/categorychooser.h"
#include "ui/options/optionswindow.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

void OpenOrRaise(QDialog &dialog)
{
    if (dialog.isVisible()) {
        dialog.raise();
        dialog.activateWindow();
        return;
    }
    dialog.exec();
}

DialogSet::DialogSet(TClientServiceInfo &info, Platform &platform)
    : m_info(info), m_platform(platform)
{}

DialogSet::~DialogSet() = default;

TfrmLogin &DialogSet::login()
{
    if (!m_login) {
        m_login = std::make_unique<TfrmLogin>(m_info, m_platform);
        connect(m_login.get(), &TfrmLogin::registerRequested, this, &DialogSet::RunRegistration);
        connect(m_login.get(), &TfrmLogin::optionsRequested, this,
                [this] { OpenOrRaise(option()); });
    }
    return *m_login;
}

TfrmOption &DialogSet::option()
{
    if (!m_option) {
        m_option = std::make_unique<TfrmOption>(m_info, m_platform);
        m_option->setCategoryChooser(&chooser());
    }
    return *m_option;
}

TfrmChangeWebArea &DialogSet::chooser()
{
    if (!m_chooser)
        m_chooser = std::make_unique<TfrmChangeWebArea>(m_info);
    return *m_chooser;
}

TfrmRegister &DialogSet::registration()
{
    if (!m_register)
        m_register = std::make_unique<TfrmRegister>(m_info);
    return *m_register;
}

TfrmRegisterAgree &DialogSet::agreement()
{
    if (!m_agree)
        m_agree = std::make_unique<TfrmRegisterAgree>(m_info);
    return *m_agree;
}

TfrmMessageShow &DialogSet::messages()
{
    if (!m_messages)
        m_messages = std::make_unique<TfrmMessageShow>(m_info);
    return *m_messages;
}

void DialogSet::RefreshConnectionImage()
{
    if (m_login)
        m_login->RefreshConnectionImage();
}

void DialogSet::RunRegistration()
{
    if (agreement().exec() == QDialog::Accepted)
        registration().exec();
}

void DialogSet::OpenOrRaiseRegistration()
{
    if (m_register && m_register->isVisible())
        OpenOrRaise(*m_register);
    else if (m_agree && m_agree->isVisible())
        OpenOrRaise(*m_agree);
    else
        RunRegistration();
}
