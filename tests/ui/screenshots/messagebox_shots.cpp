#include "tests/ui/screenshots/shot.h"
#include "ui/messagebox.h"

#include <QCoreApplication>

namespace {

// The texts as their callers pass them, translated where they are.
const ShotRegistrar exitQuestion("messagebox_exit", [](ShotContext &) {
    const auto box = CreateMessageBox(
        BoxKind::Question, QCoreApplication::translate("TfrmClientServiceMain", "退出"),
        QCoreApplication::translate("TfrmClientServiceMain", "确认要终止服务并退出吗?"));
    return GrabShown(*box);
});

const ShotRegistrar errorMessage("messagebox_error", [](ShotContext &) {
    const auto box =
        CreateMessageBox(BoxKind::Message, QCoreApplication::translate("TfrmOption", "错误"),
                         QCoreApplication::translate("WebSiteChecks", "请填写网站标题"));
    return GrabShown(*box);
});

} // namespace
