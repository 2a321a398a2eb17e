#include "tests/ui/screenshots/shot.h"
#include "ui/options/categorychooser.h"

#include <QListWidget>
#include <QTest>

namespace {

// The shipped tree with a website-building category chosen, three levels down.
const ShotRegistrar chooser("chooser", [](ShotContext &c) {
    TfrmChangeWebArea dialog(c.info);
    GrabShown(dialog);
    const QString path[] = {QStringLiteral("电脑网络"), QStringLiteral("网络技术"),
                            QStringLiteral("网站建设")};
    for (int level = 0; level < 3; ++level) {
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstAreaL%1").arg(level));
        const QList<QListWidgetItem *> found = list->findItems(path[level], Qt::MatchExactly);
        if (found.isEmpty())
            break;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found.constFirst()).center());
    }
    return GrabShown(dialog);
});

} // namespace
