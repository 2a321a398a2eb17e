#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// Page "基本设置" of the options dialog: logging, start and login behaviour, the network time-out.
// The dialog reads and fills the controls; the page only lays them out.
class TBasicSettingsPage : public QWidget
{
public:
    explicit TBasicSettingsPage(QWidget *parent = nullptr);

    QLabel *dispServerIP;
    QCheckBox *chkIfLog;
    QPushButton *btnLogView;
    QCheckBox *chkAutoRun;
    QCheckBox *chkAutoLogin;
    QCheckBox *chkOpenWebAfterLogin;
    QComboBox *cboInetTimeOut;
};
