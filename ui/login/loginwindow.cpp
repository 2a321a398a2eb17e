#include "ui/login/loginwindow.h"

#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/delay.h"
#include "platform/platform.h"
#include "protocol/login.h"
#include "ui/artwork/artwork.h"
#include "ui/frame/titlestrip.h"
#include "ui/input/characterfilter.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QUrl>

namespace {

// What the client state keeps of an id or a password; a character takes at least one byte.
constexpr qsizetype kEditMaxBytes = decltype(TClientServiceInfo::LastLogid)::maxBytes;
constexpr int kLoginShownMs = 500;

// "@" and the service's host name; the port, when there is one, is not part of a domain.
QString DomainSuffix(const TClientServiceInfo &info)
{
    return QLatin1Char('@') + QUrl(QStringLiteral("http://") + info.ServiceHost).host();
}

QLabel *labelAt(QWidget *parent, const QString &text, QPoint position, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(position);
    return label;
}

} // namespace

TfrmLogin::TfrmLogin(TClientServiceInfo &info, Platform &platform, QWidget *parent)
    : FramedDialog({QStringLiteral("Marbello XP"), FrameAction::Close, FrameAction::Close,
                    QStringLiteral("pnlFormTitle"), 8},
                   parent),
      m_info(info), m_platform(platform)
{
    setObjectName(QStringLiteral("frmLogin"));
    setBodySize({330, 214});
    createControls();

    connect(edtLogid, &QLineEdit::textChanged, this, &TfrmLogin::edtLogidChange);
    // Enter is taken before the edit sees it: the edit stays silent about Enter while its text
    // holds a character its filter refuses, which a stored id may.
    edtLogid->installEventFilter(this);
    edtPassword->installEventFilter(this);
    connect(btnLogin, &QPushButton::clicked, this, &TfrmLogin::btnLoginClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmLogin::close);
    connect(btnRegister, &QPushButton::clicked, this, &TfrmLogin::registerRequested);
    connect(btnOptions, &QPushButton::clicked, this, &TfrmLogin::optionsRequested);
    connect(chkAutoRun, &QCheckBox::toggled, this, [this](bool checked) {
        m_info.AutoRun = checked;
        SaveConfig(m_info);
    });
    // Saved when the dialog closes.
    connect(chkAutoLogin, &QCheckBox::toggled, this,
            [this](bool checked) { m_info.AutoLogin = checked; });
    connect(lblHelp, &ClickablePicture::clicked, this,
            [this] { m_platform.OpenURL(m_info, m_info.serviceUrl(QStringLiteral("/kbz/help"))); });
}

void TfrmLogin::createControls()
{
    // The version follows the title in the strip, and like the title lets presses drag.
    dispVersion = new QLabel(QStringLiteral("v 0"), titleLabel()->parentWidget());
    dispVersion->setObjectName(QStringLiteral("dispVersion"));
    dispVersion->setAttribute(Qt::WA_TransparentForMouseEvents);

    QWidget *panel = body();
    imgConnection = new QLabel(panel);
    imgConnection->setObjectName(QStringLiteral("imgConnection"));
    imgConnection->setGeometry(14, 14, 32, 32);

    auto *label1 = labelAt(panel, tr("用户名(&L):"), {56, 15}, "Label1");
    edtLogid = new QLineEdit(panel);
    edtLogid->setObjectName(QStringLiteral("edtLogid"));
    edtLogid->setGeometry(124, 12, 118, 21);
    edtLogid->setMaxLength(kEditMaxBytes);
    CharacterFilter::Install(edtLogid, CharacterFilter::IsIdCharacter, kEditMaxBytes);
    label1->setBuddy(edtLogid);

    auto *label2 = labelAt(panel, tr("密码(&P):"), {56, 43}, "Label2");
    edtPassword = new QLineEdit(panel);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setGeometry(124, 40, 118, 21);
    edtPassword->setMaxLength(kEditMaxBytes);
    CharacterFilter::Install(edtPassword, CharacterFilter::IsAnyCharacter, kEditMaxBytes);
    edtPassword->setEchoMode(QLineEdit::Password);
    label2->setBuddy(edtPassword);

    btnLogin = new QPushButton(tr("登录(&O)"), panel);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setGeometry(252, 11, 66, 23);
    btnCancel = new QPushButton(tr("取消(&C)"), panel);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(252, 39, 66, 23);

    // One row that reads "域名: http://id@domain".
    auto *label4 = labelAt(panel, tr("域名:"), {14, 74}, "Label4");
    auto *label3 = labelAt(panel, QStringLiteral(" http://"),
                           {label4->x() + label4->sizeHint().width(), 74}, "Label3");
    dispDomain =
        labelAt(panel, QString(), {label3->x() + label3->sizeHint().width(), 74}, "dispDomain");
    dispDomain->resize(330 - 14 - dispDomain->x(), dispDomain->sizeHint().height());

    chkAutoRun = new QCheckBox(tr("启动自动运行(&R)"), panel);
    chkAutoRun->setObjectName(QStringLiteral("chkAutoRun"));
    chkAutoRun->move(14, 100);
    chkAutoLogin = new QCheckBox(tr("记住密码并自动登录(&L)"), panel);
    chkAutoLogin->setObjectName(QStringLiteral("chkAutoLogin"));
    chkAutoLogin->move(14, 122);
    chkAutoLogin->setToolTip(tr("当软件运行时或登录后因为网络问题与服务器端开连接，将自动登录"));

    btnRegister = new QPushButton(tr("免费注册(&N)"), panel);
    btnRegister->setObjectName(QStringLiteral("btnRegister"));
    btnRegister->setGeometry(14, 154, 92, 23);
    btnOptions = new QPushButton(tr("系统配置(&O)"), panel);
    btnOptions->setObjectName(QStringLiteral("btnOptions"));
    btnOptions->setGeometry(112, 154, 92, 23);

    lblHelp = new ClickablePicture(tr("帮助"), panel, QAccessible::Link);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setCursor(Qt::PointingHandCursor);
    // A link a keyboard can reach, as in a web page.
    lblHelp->setFocusPolicy(Qt::TabFocus);
    lblHelp->move(290, 158);

    dispStatus = labelAt(panel, tr("尚未登录"), {0, 194}, "dispStatus");
    dispStatus->resize(330, 20);
    // The status shows the service's Reason and the domain the user's id: neither is markup.
    for (QLabel *shown : {dispStatus, dispDomain})
        shown->setTextFormat(Qt::PlainText);
}

void TfrmLogin::presetFailure(const QString &logid, const QString &password, const QString &status)
{
    m_presetFailure = PresetFailure{logid, password, status};
}

void TfrmLogin::RefreshConnectionImage()
{
    imgConnection->setPixmap(Artwork::ConnectionPicture(m_info.State == StateOnline));
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    FormShow();
}

void TfrmLogin::FormShow()
{
    dispStatus->setText(m_info.State == StateOnline ? tr("登录成功") : tr("尚未登录"));
    dispVersion->setText(QStringLiteral("v ") + QString::number(m_info.ClientVersion, 'g',
                                                                QLocale::FloatingPointShortest));
    dispVersion->adjustSize();
    dispVersion->move(titleLabel()->x() + titleLabel()->sizeHint().width() + 6, titleLabel()->y());
    chkAutoRun->setChecked(m_info.AutoRun);
    chkAutoLogin->setChecked(m_info.AutoLogin);
    edtLogid->setText(m_info.LastLogid);
    // Without automatic login the edit keeps a password typed earlier in this run.
    if (m_info.AutoLogin)
        edtPassword->setText(m_info.LastPassword);
    if (edtPassword->text().isEmpty())
        edtPassword->setFocus();
    else
        edtLogid->setFocus();
    RefreshConnectionImage();
    edtLogidChange();

    if (m_presetFailure) {
        edtLogid->setText(m_presetFailure->logid);
        edtPassword->setText(m_presetFailure->password);
        dispStatus->setText(m_presetFailure->status);
        m_presetFailure.reset();
    }
}

void TfrmLogin::edtLogidChange()
{
    dispDomain->setText(edtLogid->text().trimmed() + DomainSuffix(m_info));
}

bool TfrmLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == edtLogid || watched == edtPassword)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edtLogidKeyDown();
            return true;
        }
    }
    return FramedDialog::eventFilter(watched, event);
}

void TfrmLogin::edtLogidKeyDown()
{
    if (!edtLogid->text().isEmpty() && !edtPassword->text().isEmpty())
        btnLogin->click();
}

void TfrmLogin::setBusy(bool busy)
{
    const std::initializer_list<QWidget *> controls = {btnLogin,   btnCancel, btnRegister,
                                                       btnOptions, edtLogid,  edtPassword};
    for (QWidget *control : controls)
        control->setEnabled(!busy);
}

void TfrmLogin::btnLoginClick()
{
    setBusy(true);
    const QString id = edtLogid->text().trimmed();
    const QString password = edtPassword->text().trimmed();
    if (id.isEmpty() || password.isEmpty()) {
        dispStatus->setText(tr("请输入用户名及密码"));
        setBusy(false);
        return;
    }
    dispStatus->setText(tr("登录中..."));
    bool newVersion = false;
    const QString message = Login(m_info, id, password, newVersion);
    RefreshConnectionImage();
    if (newVersion)
        m_platform.OpenURL(m_info, m_info.serviceUrl(QStringLiteral("/download/")));
    if (m_info.State == StateOnline) {
        dispStatus->setText(tr("登录成功") + message);
        Delay(kLoginShownMs);
        if (m_info.OpenWebAfterLogin && m_info.WebISOpen)
            m_platform.OpenURL(m_info, m_info.UserDomain);
        close();
    } else {
        dispStatus->setText(tr("登录失败: ") + message);
    }
    // Also after closing, so that the next showing starts ready.
    setBusy(false);
}

void TfrmLogin::done(int result)
{
    SaveConfig(m_info);
    FramedDialog::done(result);
}
