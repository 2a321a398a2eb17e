#pragma once

#include "ui/frame/framedialog.h"

class Platform;
class TClientServiceInfo;
class TfrmChangeWebArea;

// The options dialog.
class TfrmOption : public FramedDialog
{
    Q_OBJECT
public:
    TfrmOption(TClientServiceInfo &info, Platform &platform, QWidget *parent = nullptr);

    // The category chooser that the category button opens (created after this dialog).
    void setCategoryChooser(TfrmChangeWebArea *chooser) { m_chooser = chooser; }

private:
    TClientServiceInfo &m_info;
    Platform &m_platform;
    TfrmChangeWebArea *m_chooser = nullptr;
};
