#include "ui/look/look.h"

#include "ui/look/lookpalette.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>

QFont DialogFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("AR PL UMing CN")});
    font.setPixelSize(pixelSize);
    return font;
}

void ApplyLook(QApplication &application)
{
    // The same style under every desktop, so that what the sheet leaves to the style (focus
    // frames, scroll bars, the date edit's arrows) is drawn alike everywhere; the palette after
    // it, since a new style brings its own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(LookPalette());
    // The client draws its own pictures. Icon themes are looked for only among the look's own
    // resources, which hold none, so the message boxes show the style's pictures, not the
    // desktop icon theme's. (An empty list would mean the system's directories.)
    QIcon::setThemeSearchPaths({QStringLiteral(":/look")});
    QApplication::setFont(DialogFont());
    QFile sheet(QStringLiteral(":/look/look.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        application.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}
