#include "ui/options/optionswindow.h"

#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "platform/platform.h"
#include "protocol/nmhttp.h"
#include "ui/messagebox.h"
#include "ui/options/basicsettingspage.h"
#include "ui/options/categorychooser.h"
#include "ui/options/serverdetection.h"
#include "ui/options/websitepage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TfrmOption::TfrmOption(TClientServiceInfo &info, Platform &platform, QWidget *parent)
    : FramedDialog(
          {tr("系统配置"), FrameAction::Close, FrameAction::Close, QStringLiteral("lblTitle")},
          parent),
      m_info(info), m_platform(platform), pgcOptions(new QTabWidget(body())),
      TabSheet1(new TBasicSettingsPage), TabSheet2(new TWebSiteSettingsPage),
      btnOK(new QPushButton(tr("确定(&O)"), body())),
      btnCancel(new QPushButton(tr("取消(&X)"), body())), NMHTTP(new TNMHTTP(this))
{
    setObjectName(QStringLiteral("frmOption"));
    setBodySize({420, 350});
    pgcOptions->setObjectName(QStringLiteral("pgcOptions"));
    pgcOptions->addTab(TabSheet1, tr("基本设置"));
    pgcOptions->addTab(TabSheet2, tr("网站设置"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    NMHTTP->setObjectName(QStringLiteral("NMHTTP"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(body());
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pgcOptions);
    layout->addLayout(buttons);

    // A check box set from code runs its handler just as a click by the user does: they follow
    // the state, not the click.
    for (QCheckBox *box :
         {TabSheet1->chkAutoRun, TabSheet1->chkOpenWebAfterLogin, TabSheet2->chkWebIsOpen})
        connect(box, &QCheckBox::toggled, this, [this] { RefreshDisplay(); });
    connect(TabSheet2->chkChangePort, &QCheckBox::toggled, this, [this] { chkChangePortClick(); });
    TabSheet2->edtWebPort->installEventFilter(this);

    connect(TabSheet1->btnLogView, &QPushButton::clicked, this, [this] { btnLogViewClick(); });
    connect(TabSheet2->btnChangeWebArea, &QPushButton::clicked, this,
            [this] { btnChangeWebAreaClick(); });
    connect(TabSheet2->btnDetectiveWebServerType, &QPushButton::clicked, this,
            [this] { btnDetectiveWebServerTypeClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Every way out (OK, Cancel, the close picture, Esc, close()) ends in finished().
    connect(this, &QDialog::finished, this, [this] { FormClose(); });
}

void TfrmOption::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    // Restoring a minimised window is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TfrmOption::FormShow()
{
    pgcOptions->setCurrentWidget(TabSheet1);
    TabSheet1->dispServerIP->setText(m_info.serviceUrl(QString()));
    TabSheet2->chkWebIsOpen->setChecked(m_info.WebISOpen);
    TabSheet1->chkAutoRun->setChecked(m_info.AutoRun);
    TabSheet1->chkAutoLogin->setChecked(m_info.AutoLogin);
    TabSheet2->edtWebPort->setText(QString::number(m_info.WebPort));
    TabSheet2->edtWebTitle->setText(m_info.WebTitle);
    TabSheet2->edtWebKeyword->setText(m_info.WebKeyword);
    TabSheet2->edtWebIntro->setText(m_info.WebIntro);
    TabSheet2->edtWebAreas->setText(m_info.WebAreas);
    TabSheet2->edtNotLoginURL->setText(m_info.NotLoginURL);
    TabSheet1->chkOpenWebAfterLogin->setChecked(m_info.OpenWebAfterLogin);
    TabSheet1->chkIfLog->setChecked(m_info.IfLog);
    // A value the list does not hold leaves the earlier choice.
    const int timeOut = TabSheet1->cboInetTimeOut->findText(QString::number(m_info.InetTimeOut));
    if (timeOut >= 0)
        TabSheet1->cboInetTimeOut->setCurrentIndex(timeOut);
    RefreshDisplay();
    // An incomplete site description is the first thing the user sees, as soon as the window is
    // on the screen behind the message (a box from inside the show event would come before it).
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            CheckWebSettings();
    });
    TabSheet2->chkChangePort->setChecked(m_info.WebPort != 80);
}

void TfrmOption::RefreshDisplay()
{
    const bool publishing = TabSheet2->chkWebIsOpen->isChecked();
    TabSheet2->lblWebServerType->setEnabled(publishing);
    TabSheet2->dispWebServerType->setEnabled(publishing);
    // A running detection keeps its button until it ends.
    TabSheet2->btnDetectiveWebServerType->setEnabled(publishing && !m_detecting);
    TabSheet2->chkChangePort->setEnabled(publishing);
    TabSheet2->edtWebPort->setEnabled(TabSheet2->chkChangePort->isChecked() &&
                                      TabSheet2->chkChangePort->isEnabled());
}

void TfrmOption::chkChangePortClick()
{
    RefreshDisplay();
    if (!TabSheet2->chkChangePort->isChecked())
        TabSheet2->edtWebPort->setText(QStringLiteral("80"));
}

bool TfrmOption::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the port edit for another control of this dialog; switching to another window is
    // no leaving.
    if (watched == TabSheet2->edtWebPort && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            edtWebPortExit();
    }
    return FramedDialog::eventFilter(watched, event);
}

void TfrmOption::edtWebPortExit()
{
    QLineEdit *port = TabSheet2->edtWebPort;
    port->setText(PortTextOnExit(port->text()));
    TabSheet2->chkChangePort->setChecked(port->text() != QStringLiteral("80"));
    port->setEnabled(TabSheet2->chkChangePort->isChecked());
}

bool TfrmOption::CheckWebSettings()
{
    if (!TabSheet2->chkWebIsOpen->isChecked())
        return true;
    const std::optional<WebSiteFault> fault =
        FirstWebSiteFault({TabSheet2->chkChangePort->isChecked(), TabSheet2->edtWebPort->text(),
                           TabSheet2->edtWebTitle->text(), TabSheet2->edtWebKeyword->text(),
                           TabSheet2->edtWebIntro->text(), TabSheet2->edtWebAreas->text()});
    if (!fault)
        return true;
    if (fault->showsWebPage)
        pgcOptions->setCurrentWidget(TabSheet2);
    MSGBOX(tr("错误"), fault->text);
    fieldWidget(fault->field)->setFocus();
    return false;
}

QWidget *TfrmOption::fieldWidget(WebSiteField field) const
{
    switch (field) {
    case WebSiteField::Port:
        return TabSheet2->edtWebPort;
    case WebSiteField::Title:
        return TabSheet2->edtWebTitle;
    case WebSiteField::Keyword:
        return TabSheet2->edtWebKeyword;
    case WebSiteField::Intro:
        return TabSheet2->edtWebIntro;
    case WebSiteField::Areas:
        break;
    }
    // The category edit is read-only: its button is where the user mends it.
    return TabSheet2->btnChangeWebArea;
}

void TfrmOption::btnOKClick()
{
    if (!CheckWebSettings())
        return;
    m_info.AutoRun = TabSheet1->chkAutoRun->isChecked();
    m_info.AutoLogin = TabSheet1->chkAutoLogin->isChecked();
    m_info.WebISOpen = TabSheet2->chkWebIsOpen->isChecked();
    m_info.WebISDynamic = m_info.WebISOpen;
    m_info.WebPort =
        PortToStore(TabSheet2->chkChangePort->isChecked(), TabSheet2->edtWebPort->text());
    m_info.NotLoginURL = TabSheet2->edtNotLoginURL->text().trimmed();
    // The fixed-length fields cut to their byte limits, never inside a character.
    m_info.WebTitle = TabSheet2->edtWebTitle->text().trimmed();
    m_info.WebKeyword = TabSheet2->edtWebKeyword->text().trimmed();
    m_info.WebIntro = TabSheet2->edtWebIntro->text().trimmed();
    m_info.WebAreas = TabSheet2->edtWebAreas->text().trimmed();
    m_info.IfLog = TabSheet1->chkIfLog->isChecked();
    m_info.OpenWebAfterLogin = TabSheet1->chkOpenWebAfterLogin->isChecked();
    // Nothing chosen (never shown) keeps the time-out rather than storing an unbounded 0.
    if (TabSheet1->cboInetTimeOut->currentIndex() >= 0)
        m_info.InetTimeOut = TabSheet1->cboInetTimeOut->currentText().toInt();
    if (!SaveConfig(m_info)) {
        MSGBOX(tr("错误"), tr("设置保存失败，请检查程序目录的权限"));
        return;
    }
    MSGBOX(tr("保存设置"), tr("设置已保存，请新登录服务器"));
    accept();
}

void TfrmOption::FormClose()
{
    SaveConfig(m_info);
}

void TfrmOption::imgFormCloseClick()
{
    btnCancel->click();
}

void TfrmOption::actCloseExecute()
{
    btnCancel->click();
}

void TfrmOption::btnLogViewClick()
{
    if (m_info.Log)
        m_platform.OpenLogFile(m_info.Log->path());
}

void TfrmOption::btnChangeWebAreaClick()
{
    if (!m_chooser || m_chooser->exec() != QDialog::Accepted)
        return;
    const QString title = m_chooser->chosenTitle();
    if (!title.isEmpty())
        TabSheet2->edtWebAreas->setText(title);
}

void TfrmOption::btnDetectiveWebServerTypeClick()
{
    m_detecting = true;
    TabSheet2->btnDetectiveWebServerType->setEnabled(false);
    btnOK->setEnabled(false);
    const QPointer<TfrmOption> alive(this);
    const std::optional<QString> type =
        DetectWebServerType(*NMHTTP, m_info, TabSheet2->edtNotLoginURL->text());
    if (!alive)
        return;
    if (type) {
        TabSheet2->dispWebServerType->setText(*type);
    } else {
        MSGBOX(tr("错误"), tr("xml\\webServerType.xml文件损坏或不存在..."));
    }
    m_detecting = false;
    btnOK->setEnabled(true);
    RefreshDisplay();
}
