#include "ui/register/registerwindow.h"

#include "protocol/registration.h"
#include "ui/input/characterfilter.h"
#include "ui/messagebox.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kLabelLeft = 14;
constexpr int kFieldLeft = 104;
constexpr int kRowHeight = 25;
constexpr int kFieldHeight = 21;
constexpr int kMinimumLength = 3;

using Outcome = RegistrationResult::Outcome;

} // namespace

TfrmRegister::TfrmRegister(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({tr("新注册")}, parent), m_info(info)
{
    setObjectName(QStringLiteral("frmRegister"));
    createControls();
    setBodySize({400, m_nextRowTop + 42});

    for (QLineEdit *edit : {edtLogid, edtPassword, edtRepeatPassword, edtName, edtAddress,
                            edtPostalCode, edtTelephone, edtICNO, edtEmail})
        connect(edit, &QLineEdit::textChanged, this, &TfrmRegister::edtLogidChange);
    connect(btnOK, &QPushButton::clicked, this, &TfrmRegister::btnOKClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmRegister::reject);
    edtLogidChange();
}

// Controls are made in tab order.
void TfrmRegister::createControls()
{
    edtLogid = addEdit("edtLogid", tr("用户名(&L)"), Bold, 12, 130);
    CharacterFilter::Install(edtLogid, CharacterFilter::IsIdCharacter);
    auto *idNote = new QLabel(tr("(3-12位英文/数字字符)"), body());
    idNote->move(kFieldLeft + 136, edtLogid->y() + 3);

    edtPassword = addEdit("edtPassword", tr("密码(&P)"), Bold, 12, 130);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtRepeatPassword = addEdit("edtRepeatPassword", tr("确认密码(&R)"), Bold, 12, 130);
    edtRepeatPassword->setEchoMode(QLineEdit::Password);

    auto *privacyNote =
        new QLabel(tr("以下资料我们会按照用户协议严格为您保密，请如实填写..."), body());
    privacyNote->setObjectName(QStringLiteral("lblPrivacyNote"));
    privacyNote->move(kLabelLeft, m_nextRowTop + 3);
    m_nextRowTop += kRowHeight;

    edtName = addEdit("edtName", tr("真实姓名(&N)"), Bold, 50, 130);

    auto *sex = new QWidget(body());
    rdoMale = new QRadioButton(tr("男"), sex);
    rdoMale->setObjectName(QStringLiteral("rdoMale"));
    rdoMale->setChecked(true);
    rdoFemale = new QRadioButton(tr("女"), sex);
    rdoFemale->setObjectName(QStringLiteral("rdoFemale"));
    rdoFemale->move(60, 0);
    // The label's mnemonic lands on the checked-in-the-form choice.
    sex->setFocusProxy(rdoMale);
    addRow(tr("性别(&S)"), Bold, sex);
    sex->resize(130, kFieldHeight);

    dtpBirthday = new QDateEdit(body());
    dtpBirthday->setObjectName(QStringLiteral("dtpBirthday"));
    dtpBirthday->setCalendarPopup(true);
    // The short date of a Chinese system, the same on every machine.
    dtpBirthday->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    dtpBirthday->setDateRange(QDate(1920, 1, 1), QDate(2000, 1, 1));
    dtpBirthday->setDate(QDate(1977, 6, 2));
    addRow(tr("生日(&B)"), Bold, dtpBirthday);

    cboLocation = new QComboBox(body());
    cboLocation->setObjectName(QStringLiteral("cboLocation"));
    // The service is told the Chinese name whatever the interface's language.
    static const char *const kLocations[] = {QT_TR_NOOP("中国大陆"), QT_TR_NOOP("中国港台地区"),
                                             QT_TR_NOOP("亚洲"),     QT_TR_NOOP("欧洲"),
                                             QT_TR_NOOP("北美"),     QT_TR_NOOP("南美"),
                                             QT_TR_NOOP("非洲"),     QT_TR_NOOP("大洋洲")};
    for (const char *location : kLocations)
        cboLocation->addItem(tr(location), QString::fromUtf8(location));
    addRow(tr("所在地(&I)"), Bold, cboLocation);

    edtAddress = addEdit("edtAddress", tr("联系地址(&A)"), Plain, 100, 280);
    edtPostalCode = addEdit("edtPostalCode", tr("邮政编码(&C)"), Plain, 6, 80);
    CharacterFilter::Install(edtPostalCode, CharacterFilter::IsDigit);
    edtTelephone = addEdit("edtTelephone", tr("联系电话(&T)"), Plain, 20, 130);
    CharacterFilter::Install(edtTelephone, CharacterFilter::IsTelephoneCharacter);
    edtICNO = addEdit("edtICNO", tr("证件号码(&N)"), Plain, 40, 200);
    edtEmail = addEdit("edtEmail", tr("电子邮件(&E)"), Bold, 40, 200);
    CharacterFilter::Install(edtEmail, CharacterFilter::IsEmailCharacter);

    btnOK = new QPushButton(tr("确定(&O)"), body());
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(208, m_nextRowTop + 8, 86, 24);
    btnClose = new QPushButton(tr("关闭(&X)"), body());
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(300, m_nextRowTop + 8, 86, 24);
}

QLineEdit *TfrmRegister::addEdit(const char *name, const QString &label, LabelWeight weight,
                                 int maxLength, int width)
{
    auto *edit = new QLineEdit(body());
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    addRow(label, weight, edit);
    edit->resize(width, kFieldHeight);
    return edit;
}

void TfrmRegister::addRow(const QString &label, LabelWeight weight, QWidget *field)
{
    auto *caption = new QLabel(label, body());
    caption->setProperty("strong", weight == Bold);
    caption->move(kLabelLeft, m_nextRowTop + 3);
    caption->setBuddy(field);
    field->setGeometry(kFieldLeft, m_nextRowTop, 130, kFieldHeight);
    m_nextRowTop += kRowHeight;
}

void TfrmRegister::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    edtLogidChange();
}

void TfrmRegister::edtLogidChange()
{
    if (m_busy)
        return;
    const auto filled = [](const QLineEdit *edit, qsizetype minimum) {
        return edit->text().trimmed().size() >= minimum;
    };
    btnOK->setEnabled(filled(edtLogid, kMinimumLength) && filled(edtPassword, kMinimumLength) &&
                      filled(edtRepeatPassword, kMinimumLength) && filled(edtName, 1) &&
                      filled(edtEmail, 1));
}

void TfrmRegister::setBusy(bool busy)
{
    m_busy = busy;
    btnClose->setEnabled(!busy);
    // The fields stay editable during the exchange, so OK follows the rule afterwards rather
    // than coming back regardless.
    if (busy)
        btnOK->setEnabled(false);
    else
        edtLogidChange();
}

void TfrmRegister::btnOKClick()
{
    // A click that reaches a disabled button anyway (an accessibility action) sends nothing.
    if (m_busy)
        return;
    setBusy(true);
    // Compared as typed: a blank the other lacks is a mismatch, although both are sent trimmed.
    if (edtPassword->text() != edtRepeatPassword->text()) {
        MSGBOX(tr("错误"), tr("密码与确认密码不一致"));
        edtPassword->setFocus();
        setBusy(false);
        return;
    }
    if (!IsValidEmailAddress(edtEmail->text())) {
        MSGBOX(tr("错误"), tr("Email不正确"));
        edtEmail->setFocus();
        setBusy(false);
        return;
    }
    const RegistrationResult result = RegisterUser(m_info, form());
    reportOutcome(result);
    setBusy(false);
    if (result.registered())
        close();
}

void TfrmRegister::reportOutcome(const RegistrationResult &result)
{
    switch (result.outcome) {
    case Outcome::Accepted:
        MSGBOX(tr("注册"), tr("恭喜，注册成功"));
        return;
    case Outcome::Refused:
        MSGBOX(tr("注册"), tr("注册失败：") + result.message);
        return;
    case Outcome::NoAnswer:
    case Outcome::Unreadable:
    case Outcome::FileNotWritable:
        MSGBOX(tr("错误"), result.message);
        return;
    }
}

RegistrationForm TfrmRegister::form() const
{
    RegistrationForm form;
    form.logid = edtLogid->text();
    form.password = edtPassword->text();
    form.name = edtName->text();
    form.male = rdoMale->isChecked();
    form.birthday = dtpBirthday->date();
    form.location = cboLocation->currentData().toString();
    form.address = edtAddress->text();
    form.postalCode = edtPostalCode->text();
    form.telephone = edtTelephone->text();
    form.icno = edtICNO->text();
    form.email = edtEmail->text();
    return form;
}
