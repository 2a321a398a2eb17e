#include "ui/messages/messagewindow.h"

TfrmMessageShow::TfrmMessageShow(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({QStringLiteral("讯息记录"), FrameAction::Close, FrameAction::Nothing}, parent),
      m_info(info)
{
    setObjectName(QStringLiteral("frmMessageShow"));
    setBodySize({440, 300});
}
