#include "core/clientserviceinfo.h"
#include "protocol/serviceanswer.h"
#include "tests/ui/screenshots/shot.h"
#include "ui/login/loginwindow.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace {

const ShotRegistrar login("login", [](ShotContext &c) {
    c.info.LastLogid = QStringLiteral("zhangsan");
    TfrmLogin dialog(c.info, c.platform);
    return GrabShown(dialog);
});

// The longest status the dialog shows by itself: a login that got no answer.
const ShotRegistrar loginFailed("login_failed", [](ShotContext &c) {
    TfrmLogin dialog(c.info, c.platform);
    dialog.presetFailure(QStringLiteral("zhangsan"), QStringLiteral("secret"),
                         QCoreApplication::translate("TfrmLogin", "登录失败: ") +
                             ServiceMessage::NoAnswer());
    return GrabShown(dialog);
});

const ShotRegistrar agreement("register_agree", [](ShotContext &c) {
    TfrmRegisterAgree dialog(c.info);
    return GrabShown(dialog);
});

const ShotRegistrar registration("register", [](ShotContext &c) {
    TfrmRegister dialog(c.info);
    const struct
    {
        const char *edit;
        QString text;
    } typed[] = {
        {"edtLogid", QStringLiteral("zhangsan")},
        {"edtPassword", QStringLiteral("secret")},
        {"edtRepeatPassword", QStringLiteral("secret")},
        {"edtName", QStringLiteral("张三")},
        {"edtEmail", QStringLiteral("zhang.san@example.cn")},
    };
    for (const auto &field : typed)
        dialog.findChild<QLineEdit *>(QLatin1String(field.edit))->setText(field.text);
    return GrabShown(dialog);
});

} // namespace
