#include "tests/ui/screenshots/shot.h"
#include "ui/messagebox.h"

namespace {

const ShotRegistrar exitQuestion("messagebox_exit", [](ShotContext &) {
    const auto box = CreateMessageBox(BoxKind::Question, QStringLiteral("退出"),
                                      QStringLiteral("确认要终止服务并退出吗?"));
    return GrabShown(*box);
});

const ShotRegistrar errorMessage("messagebox_error", [](ShotContext &) {
    const auto box = CreateMessageBox(BoxKind::Message, QStringLiteral("错误"),
                                      QStringLiteral("请填写网站标题"));
    return GrabShown(*box);
});

} // namespace
