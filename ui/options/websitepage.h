#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Page "网站设置" of the options dialog: how the user's web site is published and described. The
// page lays out the controls and applies their input limits; the dialog holds the rules.
class TWebSiteSettingsPage : public QWidget
{
    Q_OBJECT
public:
    explicit TWebSiteSettingsPage(QWidget *parent = nullptr);

    QCheckBox *chkWebIsOpen;
    QCheckBox *chkChangePort;
    QLineEdit *edtWebPort;
    QLabel *lblNotLoginURL;
    QLabel *lblStaticWebIP;
    QLineEdit *edtNotLoginURL;
    QLabel *lblWebServerType;
    QLabel *dispWebServerType;
    QPushButton *btnDetectiveWebServerType;
    QLineEdit *edtWebTitle;
    QLineEdit *edtWebKeyword;
    QLineEdit *edtWebIntro;
    QLineEdit *edtWebAreas;
    QPushButton *btnChangeWebArea;
};
