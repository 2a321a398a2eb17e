#pragma once

#include "ui/frame/framedialog.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class TClientServiceInfo;

// The agreement a new user accepts before registering. Next (the OK result) is open only while
// the box is ticked; Close, the close picture and Esc give Cancel.
class TfrmRegisterAgree : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmRegisterAgree(TClientServiceInfo &info, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    // False when the file is missing or cannot be read.
    bool LoadAgreement();

    TClientServiceInfo &m_info;
    QPlainTextEdit *edtComment;
    QCheckBox *chkAgree;
    QPushButton *btnNext;
    QPushButton *btnClose;
};
