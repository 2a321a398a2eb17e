#include "ui/register/registeragreewindow.h"

#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

TfrmRegisterAgree::TfrmRegisterAgree(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({tr("注册")}, parent), m_info(info)
{
    setObjectName(QStringLiteral("frmRegisterAgree"));
    setBodySize({460, 360});

    edtComment = new QPlainTextEdit(body());
    edtComment->setObjectName(QStringLiteral("edtComment"));
    edtComment->setGeometry(10, 10, 440, 278);
    edtComment->setReadOnly(true);
    edtComment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtComment->setAccessibleName(tr("注册条例"));

    chkAgree = new QCheckBox(tr("我同意并愿意遵守以上条例(F8)"), body());
    chkAgree->setObjectName(QStringLiteral("chkAgree"));
    chkAgree->move(10, 298);

    btnNext = new QPushButton(tr("下一步(&N)"), body());
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnNext->setGeometry(268, 324, 86, 24);
    btnNext->setEnabled(false);
    btnClose = new QPushButton(tr("关闭(&X)"), body());
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(364, 324, 86, 24);

    // Every change of the box, by mouse, F8 or code, decides whether the user may go on.
    connect(chkAgree, &QCheckBox::toggled, btnNext, &QPushButton::setEnabled);
    connect(btnNext, &QPushButton::clicked, this, &TfrmRegisterAgree::accept);
    connect(btnClose, &QPushButton::clicked, this, &TfrmRegisterAgree::reject);

    auto *changeAgree = new QAction(this);
    changeAgree->setObjectName(QStringLiteral("changeAgree"));
    changeAgree->setShortcut(Qt::Key_F8);
    changeAgree->setShortcutContext(Qt::WindowShortcut);
    connect(changeAgree, &QAction::triggered, chkAgree, &QCheckBox::toggle);
    addAction(changeAgree);
}

void TfrmRegisterAgree::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    FormShow();
}

void TfrmRegisterAgree::FormShow()
{
    chkAgree->setChecked(false);
    if (!LoadAgreement()) {
        // Told once the dialog is up, so the user sees which window the box belongs to.
        QTimer::singleShot(0, this,
                           [] { MSGBOX(tr("错误"), tr("RegisterAgree.txt文件损坏或不存在...")); });
    }
}

bool TfrmRegisterAgree::LoadAgreement()
{
    edtComment->clear();
    QFile file(m_info.shippedPath(QStringLiteral("RegisterAgree.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    edtComment->setPlainText(cp936::decode(bytes));
    return true;
}
