#include "platform/linux/desktopexec.h"

namespace {

// The characters that make an Exec argument need quotes.
bool isReserved(QChar ch)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(ch);
}

QString quotedArgument(const QString &argument)
{
    QString word;
    const bool quote =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(), isReserved);
    for (const QChar ch : argument) {
        if (ch == QLatin1Char('%'))
            word += QStringLiteral("%%");
        else if (quote && (ch == QLatin1Char('"') || ch == QLatin1Char('`') ||
                           ch == QLatin1Char('$') || ch == QLatin1Char('\\')))
            word += QLatin1Char('\\') + ch;
        else
            word += ch;
    }
    return quote ? QLatin1Char('"') + word + QLatin1Char('"') : word;
}

// The key file's string escapes, applied to the whole value after the quoting.
QString escapedValue(const QString &value)
{
    QString escaped;
    for (const QChar ch : value) {
        switch (ch.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += ch;
        }
    }
    return escaped;
}

} // namespace

QString DesktopExecLine(const QStringList &argv)
{
    QStringList words;
    for (const QString &argument : argv)
        words << quotedArgument(argument);
    return escapedValue(words.join(QLatin1Char(' ')));
}
