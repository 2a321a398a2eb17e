#include "ui/frame/clickablepictureaccessible.h"

#include "ui/frame/titlestrip.h"

namespace {

QAccessibleInterface *createForPicture(const QString &className, QObject *object)
{
    if (className != QLatin1String(ClickablePicture::staticMetaObject.className()))
        return nullptr;
    return new ClickablePictureAccessible(static_cast<ClickablePicture *>(object));
}

} // namespace

ClickablePictureAccessible::ClickablePictureAccessible(ClickablePicture *picture)
    : QAccessibleWidget(picture, picture->accessibleRole())
{}

QString ClickablePictureAccessible::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty())
        text = static_cast<const ClickablePicture *>(widget())->text();
    return text;
}

QStringList ClickablePictureAccessible::actionNames() const
{
    return QAccessibleWidget::actionNames() << pressAction();
}

void ClickablePictureAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        Q_EMIT static_cast<ClickablePicture *>(widget())->clicked();
    else
        QAccessibleWidget::doAction(actionName);
}

void ClickablePictureAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForPicture);
        return true;
    }();
    Q_UNUSED(installed);
}
