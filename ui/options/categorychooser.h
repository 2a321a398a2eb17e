#pragma once

#include "ui/frame/framedialog.h"

class TClientServiceInfo;

// The web category chooser.
class TfrmChangeWebArea : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmChangeWebArea(TClientServiceInfo &info, QWidget *parent = nullptr);

private:
    TClientServiceInfo &m_info;
};
