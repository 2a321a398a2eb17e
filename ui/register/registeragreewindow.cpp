#include "ui/register/registeragreewindow.h"

TfrmRegisterAgree::TfrmRegisterAgree(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({QStringLiteral("注册")}, parent), m_info(info)
{
    setObjectName(QStringLiteral("frmRegisterAgree"));
    setBodySize({460, 360});
}
