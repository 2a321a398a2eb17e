#include "ui/look/look.h"

#include <QApplication>
#include <QFile>
#include <QFont>

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
    QApplication::setFont(DialogFont());
    QFile sheet(QStringLiteral(":/look/look.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        application.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}
