#pragma once

#include "core/cp936.h"

#include <QRegularExpression>
#include <string>

// config.xml as the client writes it, around one <config .../> element.
inline QByteArray configFile(const QString &element)
{
    return cp936::encode(QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
                                        "<configures>\r\n") +
                         element + QStringLiteral("\r\n</configures>\r\n"));
}

// What a client writes after a missing or unreadable config.xml, which leaves WebPort alone.
inline std::string defaultConfigFile(int webPort)
{
    return configFile(QStringLiteral("<config Version=\"0.994\" LastLogid=\"\" LastPassword=\"#2\" "
                                     "AutoLogin=\"0\" AutoRun=\"1\" OpenWebAfterLogin=\"0\" "
                                     "WebISOpen=\"0\" WebISDynamic=\"0\" WebPort=\"%1\" "
                                     "WebStaticURL=\"\" NotLoginURL=\"\" WebTitle=\"\" "
                                     "WebKeyword=\"\" WebIntro=\"\" WebAreas=\"\" IfLog=\"1\" "
                                     "InetTimeOut=\"4000\" />")
                          .arg(webPort))
        .toStdString();
}

// The stored password starts with a random value, so it is replaced by "#" and its number of
// digits, provided it is upper-case hexadecimal pairs; every other byte is kept.
inline std::string masked(QByteArray bytes)
{
    static const QRegularExpression password(QStringLiteral("LastPassword=\"((?:[0-9A-F]{2})+)\""));
    const QRegularExpressionMatch match = password.match(QString::fromLatin1(bytes));
    if (match.hasMatch())
        bytes.replace(match.capturedStart(1), match.capturedLength(1),
                      '#' + QByteArray::number(match.capturedLength(1)));
    return bytes.toStdString();
}
