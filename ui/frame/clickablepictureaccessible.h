#pragma once

#include <QAccessibleWidget>

class ClickablePicture;

// What a screen reader makes of a ClickablePicture: a button or a link (as the picture says),
// named by its accessible name or else its text, and pressed through the press action.
class ClickablePictureAccessible : public QAccessibleWidget
{
public:
    explicit ClickablePictureAccessible(ClickablePicture *picture);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Makes Qt use this interface for every ClickablePicture; once is enough.
    static void installFactory();
};
