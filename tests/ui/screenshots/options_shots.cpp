#include "core/clientserviceinfo.h"
#include "tests/ui/screenshots/shot.h"
#include "ui/options/optionswindow.h"

#include <QTabWidget>

namespace {

QPixmap optionsOnPage(ShotContext &context, int page)
{
    TClientServiceInfo &info = context.info;
    info.WebISOpen = true;
    info.WebISDynamic = true;
    info.WebPort = 8080;
    info.NotLoginURL = QStringLiteral("www.example.cn/away");
    info.WebTitle = QStringLiteral("小王的摄影作品");
    info.WebKeyword = QStringLiteral("摄影 风景 人像");
    info.WebIntro = QStringLiteral("业余摄影爱好者的作品集");
    info.WebAreas = QStringLiteral("摄影");
    info.IfLog = true;
    info.AutoLogin = true;
    info.InetTimeOut = 5000;
    TfrmOption dialog(info, context.platform);
    dialog.show();
    dialog.findChild<QTabWidget *>(QStringLiteral("pgcOptions"))->setCurrentIndex(page);
    return GrabShown(dialog);
}

const ShotRegistrar page1("options_page1", [](ShotContext &c) { return optionsOnPage(c, 0); });
const ShotRegistrar page2("options_page2", [](ShotContext &c) { return optionsOnPage(c, 1); });

} // namespace
