#include "ui/login/loginwindow.h"

TfrmLogin::TfrmLogin(TClientServiceInfo &info, Platform &platform, QWidget *parent)
    : FramedDialog({QStringLiteral("Marbello XP"), FrameAction::Close, FrameAction::Close,
                    QStringLiteral("pnlFormTitle"), 8},
                   parent),
      m_info(info), m_platform(platform)
{
    setObjectName(QStringLiteral("frmLogin"));
    setBodySize({330, 230});
}

void TfrmLogin::presetFailure(const QString &, const QString &, const QString &) {}
