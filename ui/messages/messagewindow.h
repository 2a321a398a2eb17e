#pragma once

#include "ui/frame/framedialog.h"

class TClientServiceInfo;

// The log of the messages the service delivered.
class TfrmMessageShow : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmMessageShow(TClientServiceInfo &info, QWidget *parent = nullptr);

private:
    TClientServiceInfo &m_info;
};
