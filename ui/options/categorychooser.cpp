#include "ui/options/categorychooser.h"

TfrmChangeWebArea::TfrmChangeWebArea(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({QStringLiteral("系统配置"), FrameAction::Nothing, FrameAction::Nothing,
                    QStringLiteral("lblTitle"), 6, true},
                   parent),
      m_info(info)
{
    setObjectName(QStringLiteral("frmChangeWebArea"));
    setWindowTitle(QStringLiteral("网站类别"));
    setBodySize({420, 260});
}
