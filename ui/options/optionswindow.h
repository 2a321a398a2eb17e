#pragma once

#include "ui/frame/framedialog.h"
#include "ui/options/websitechecks.h"

class Platform;
class QPushButton;
class QTabWidget;
class TBasicSettingsPage;
class TClientServiceInfo;
class TfrmChangeWebArea;
class TNMHTTP;
class TWebSiteSettingsPage;

// The options dialog: every setting but the login itself, checked, stored and saved on OK; the
// web-server detection and the category chooser for the site's description. Created once and
// shown modally again and again; every close saves the configuration.
class TfrmOption : public FramedDialog
{
    Q_OBJECT
public:
    TfrmOption(TClientServiceInfo &info, Platform &platform, QWidget *parent = nullptr);

    // The category chooser that the category button opens (created after this dialog).
    void setCategoryChooser(TfrmChangeWebArea *chooser) { m_chooser = chooser; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The close picture and Esc are the Cancel button.
    void imgFormCloseClick() override;
    void actCloseExecute() override;

private:
    void FormShow();
    void FormClose();
    void RefreshDisplay();
    bool CheckWebSettings();
    void chkChangePortClick();
    void edtWebPortExit();
    void btnOKClick();
    void btnLogViewClick();
    void btnChangeWebAreaClick();
    void btnDetectiveWebServerTypeClick();
    QWidget *fieldWidget(WebSiteField field) const;

    TClientServiceInfo &m_info;
    Platform &m_platform;
    TfrmChangeWebArea *m_chooser = nullptr;
    QTabWidget *pgcOptions;
    TBasicSettingsPage *TabSheet1;
    TWebSiteSettingsPage *TabSheet2;
    QPushButton *btnOK;
    QPushButton *btnCancel;
    TNMHTTP *NMHTTP;
    bool m_detecting = false;
};
