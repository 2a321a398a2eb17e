#include "core/xmlescape.h"

QString EscapeXmlAttribute(const QString &value, GreaterThan greaterThan)
{
    QString out;
    out.reserve(value.size());
    for (const QChar ch : value) {
        switch (ch.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += greaterThan == GreaterThan::Escaped ? QStringLiteral("&gt;") : QString(ch);
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        case '\t':
            out += QStringLiteral("&#9;");
            break;
        case '\n':
            out += QStringLiteral("&#10;");
            break;
        case '\r':
            out += QStringLiteral("&#13;");
            break;
        default:
            if (ch.unicode() >= 0x20)
                out += ch;
        }
    }
    return out;
}
