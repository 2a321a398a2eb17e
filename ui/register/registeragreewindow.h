#pragma once

#include "ui/frame/framedialog.h"

class TClientServiceInfo;

// The agreement a new user accepts before registering.
class TfrmRegisterAgree : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmRegisterAgree(TClientServiceInfo &info, QWidget *parent = nullptr);

private:
    TClientServiceInfo &m_info;
};
