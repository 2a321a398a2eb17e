#pragma once

#include "ui/frame/framedialog.h"

class Platform;
class TClientServiceInfo;

// The login dialog.
class TfrmLogin : public FramedDialog
{
    Q_OBJECT
public:
    TfrmLogin(TClientServiceInfo &info, Platform &platform, QWidget *parent = nullptr);

    // A login from the command line failed: the next showing presents these texts and the
    // failure in its status line.
    void presetFailure(const QString &logid, const QString &password, const QString &status);

Q_SIGNALS:
    // Buttons that lead to other windows; whoever owns those windows opens them.
    void registerRequested();
    void optionsRequested();

private:
    TClientServiceInfo &m_info;
    Platform &m_platform;
};
