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
    : m_login(std::make_unique<TfrmLogin>(info, platform)),
      m_option(std::make_unique<TfrmOption>(info, platform)),
      m_chooser(std::make_unique<TfrmChangeWebArea>(info)),
      m_register(std::make_unique<TfrmRegister>(info)),
      m_agree(std::make_unique<TfrmRegisterAgree>(info)),
      m_messages(std::make_unique<TfrmMessageShow>(info))
{
    m_option->setCategoryChooser(m_chooser.get());
    connect(m_login.get(), &TfrmLogin::registerRequested, this, &DialogSet::RunRegistration);
    connect(m_login.get(), &TfrmLogin::optionsRequested, this, [this] { OpenOrRaise(*m_option); });
}

DialogSet::~DialogSet() = default;

void DialogSet::RunRegistration()
{
    if (m_agree->exec() == QDialog::Accepted)
        m_register->exec();
}

void DialogSet::OpenOrRaiseRegistration()
{
    if (m_register->isVisible())
        OpenOrRaise(*m_register);
    else if (m_agree->isVisible())
        OpenOrRaise(*m_agree);
    else
        RunRegistration();
}
