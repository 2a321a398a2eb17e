#include "ui/register/registerwindow.h"

TfrmRegister::TfrmRegister(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({QStringLiteral("新注册")}, parent), m_info(info)
{
    setObjectName(QStringLiteral("frmRegister"));
    setBodySize({400, 380});
}
