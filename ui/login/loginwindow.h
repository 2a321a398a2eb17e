#pragma once

#include "ui/frame/framedialog.h"

#include <optional>

class ClickablePicture;
class Platform;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TClientServiceInfo;

// The login dialog: logs in by hand, shows whether the client is online and the user's web
// address, and holds the two start-up choices.
class TfrmLogin : public FramedDialog
{
    Q_OBJECT
public:
    TfrmLogin(TClientServiceInfo &info, Platform &platform, QWidget *parent = nullptr);

    // A login from the command line failed: the next showing presents these texts and the
    // failure in its status line.
    void presetFailure(const QString &logid, const QString &password, const QString &status);

    // The connection picture follows State.
    void RefreshConnectionImage();

    // Every way of closing ends here; the configuration is saved each time.
    void done(int result) override;

Q_SIGNALS:
    // Buttons that lead to other windows; whoever owns those windows opens them.
    void registerRequested();
    void optionsRequested();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PresetFailure
    {
        QString logid;
        QString password;
        QString status;
    };

    void createControls();
    void FormShow();
    void edtLogidChange();
    void edtLogidKeyDown();
    void btnLoginClick();
    void setBusy(bool busy);

    TClientServiceInfo &m_info;
    Platform &m_platform;
    std::optional<PresetFailure> m_presetFailure;

    QLabel *dispVersion;
    QLineEdit *edtLogid;
    QLineEdit *edtPassword;
    QLabel *dispDomain;
    QLabel *imgConnection;
    QPushButton *btnLogin;
    QPushButton *btnCancel;
    QPushButton *btnRegister;
    QPushButton *btnOptions;
    QCheckBox *chkAutoRun;
    QCheckBox *chkAutoLogin;
    ClickablePicture *lblHelp;
    QLabel *dispStatus;
};
