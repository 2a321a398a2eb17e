#include "ui/options/optionswindow.h"

TfrmOption::TfrmOption(TClientServiceInfo &info, Platform &platform, QWidget *parent)
    : FramedDialog({QStringLiteral("系统配置"), FrameAction::Close, FrameAction::Close,
                    QStringLiteral("lblTitle")},
                   parent),
      m_info(info), m_platform(platform)
{
    setObjectName(QStringLiteral("frmOption"));
    setBodySize({420, 330});
}
