#pragma once

#include "ui/frame/framedialog.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TClientServiceInfo;
struct RegistrationForm;
struct RegistrationResult;

// The registration form of a new account. It checks what it can, posts the form to the service
// and reports the service's verdict; the fields keep their texts between showings.
class TfrmRegister : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmRegister(TClientServiceInfo &info, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The labels of the fields a user must fill in are bold.
    enum LabelWeight { Plain, Bold };

    void createControls();
    QLineEdit *addEdit(const char *name, const QString &label, LabelWeight weight, int maxLength,
                       int width);
    void addRow(const QString &label, LabelWeight weight, QWidget *field);

    // The OK rule, run by every change of the nine edits; it waits while a registration runs.
    void edtLogidChange();
    void btnOKClick();
    void setBusy(bool busy);
    void reportOutcome(const RegistrationResult &result);
    RegistrationForm form() const;

    TClientServiceInfo &m_info;
    int m_nextRowTop = 10;
    // A registration is being checked or sent: OK and Close stay disabled whatever is typed.
    bool m_busy = false;

    QLineEdit *edtLogid;
    QLineEdit *edtPassword;
    QLineEdit *edtRepeatPassword;
    QLineEdit *edtName;
    QRadioButton *rdoMale;
    QRadioButton *rdoFemale;
    QDateEdit *dtpBirthday;
    QComboBox *cboLocation;
    QLineEdit *edtAddress;
    QLineEdit *edtPostalCode;
    QLineEdit *edtTelephone;
    QLineEdit *edtICNO;
    QLineEdit *edtEmail;
    QPushButton *btnOK;
    QPushButton *btnClose;
};
