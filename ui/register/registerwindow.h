#pragma once

#include "ui/frame/framedialog.h"

class TClientServiceInfo;

// The registration form of a new account.
class TfrmRegister : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmRegister(TClientServiceInfo &info, QWidget *parent = nullptr);

private:
    TClientServiceInfo &m_info;
};
