#include "ui/options/basicsettingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TBasicSettingsPage::TBasicSettingsPage(QWidget *parent)
    : QWidget(parent), dispServerIP(named(new QLabel(this), "dispServerIP")),
      chkIfLog(
          named(new QCheckBox(QCoreApplication::translate("TBasicSettingsPage", "记录系统日志(&G)"),
                              this),
                "chkIfLog")),
      btnLogView(named(
          new QPushButton(QCoreApplication::translate("TBasicSettingsPage", "查看(&V)"), this),
          "btnLogView")),
      chkAutoRun(
          named(new QCheckBox(QCoreApplication::translate("TBasicSettingsPage", "开机自动运行(&R)"),
                              this),
                "chkAutoRun")),
      chkAutoLogin(named(
          new QCheckBox(QCoreApplication::translate("TBasicSettingsPage", "记住密码并自动登录(&L)"),
                        this),
          "chkAutoLogin")),
      chkOpenWebAfterLogin(named(
          new QCheckBox(QCoreApplication::translate("TBasicSettingsPage", "登录后打开我的网站(&A)"),
                        this),
          "chkOpenWebAfterLogin")),
      cboInetTimeOut(named(new QComboBox(this), "cboInetTimeOut"))
{
    setObjectName(QStringLiteral("TabSheet1"));
    // The service host is the user's setting, never markup.
    dispServerIP->setTextFormat(Qt::PlainText);
    // A fixed choice of milliseconds; nothing is chosen until the first showing picks the stored
    // value.
    cboInetTimeOut->addItems({QStringLiteral("4000"), QStringLiteral("5000"),
                              QStringLiteral("6000"), QStringLiteral("7000"),
                              QStringLiteral("8000")});
    cboInetTimeOut->setCurrentIndex(-1);
    cboInetTimeOut->setFixedWidth(90);
    btnLogView->setFixedWidth(70);

    auto *timeOutLabel =
        new QLabel(QCoreApplication::translate("TBasicSettingsPage",
                                               "网络超时设置(如网络慢请适当加大设置值)(&T)"),
                   this);
    timeOutLabel->setBuddy(cboInetTimeOut);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 12);
    grid->setVerticalSpacing(10);
    grid->addWidget(
        new QLabel(QCoreApplication::translate("TBasicSettingsPage", "服务器地址"), this), 0, 0);
    grid->addWidget(dispServerIP, 0, 1, 1, 2);
    grid->addWidget(chkIfLog, 1, 0, 1, 2);
    grid->addWidget(btnLogView, 1, 2, Qt::AlignRight);
    grid->addWidget(chkAutoRun, 2, 0, 1, 3);
    grid->addWidget(chkAutoLogin, 3, 0, 1, 3);
    grid->addWidget(chkOpenWebAfterLogin, 4, 0, 1, 3);
    grid->addWidget(timeOutLabel, 5, 0, 1, 3);
    grid->addWidget(cboInetTimeOut, 6, 0, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
}
