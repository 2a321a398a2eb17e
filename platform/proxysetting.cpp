#include "platform/proxysetting.h"

#include <QRegularExpression>

namespace {

ProxySetting unusable(QString *problem, const QString &why)
{
    if (problem)
        *problem = why;
    return {};
}

} // namespace

ProxySetting ParseProxyUrl(const QString &value, QString *problem)
{
    QString rest = value.trimmed();
    if (rest.isEmpty())
        return {};
    if (const qsizetype scheme = rest.indexOf(QStringLiteral("://")); scheme >= 0) {
        if (rest.left(scheme).compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)
            return unusable(problem, QStringLiteral("only http proxies are supported"));
        rest = rest.mid(scheme + 3);
    }

    ProxySetting setting;
    // The last "@": a password may hold an unescaped one.
    if (const qsizetype at = rest.lastIndexOf(QLatin1Char('@')); at >= 0) {
        QString userInfo = rest.left(at);
        if (!userInfo.contains(QLatin1Char(':')))
            userInfo += QLatin1Char(':');
        setting.credentials = QByteArray::fromPercentEncoding(userInfo.toUtf8());
        rest = rest.mid(at + 1);
    }
    rest = rest.section(QLatin1Char('/'), 0, 0);

    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return unusable(problem, QStringLiteral("the address lacks its \"]\""));
        setting.host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))
            return unusable(problem, QStringLiteral("text after the address"));
        portText = after.mid(1);
    } else {
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        setting.host = rest.left(colon);
        portText = colon < 0 ? QString() : rest.mid(colon + 1);
    }
    static const QRegularExpression blank(QStringLiteral("\\s"));
    if (setting.host.isEmpty() || setting.host.contains(blank))
        return unusable(problem, QStringLiteral("it names no host"));

    setting.port = 80;
    if (!portText.isEmpty()) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        const int port = portText.toInt();
        if (!digits.match(portText).hasMatch() || port < 1 || port > 65535)
            return unusable(problem, QStringLiteral("the port is not a number from 1 to 65535"));
        setting.port = port;
    }
    return setting;
}

QStringList ParseNoProxy(const QString &value)
{
    // Read at every start: a plain scan keeps the pattern compiler, and the memory it takes,
    // out of a client that has no proxy set.
    QStringList entries;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= value.size(); ++at) {
        if (at < value.size() && value[at] != QLatin1Char(',') && !value[at].isSpace())
            continue;
        if (at > start)
            entries << value.mid(start, at - start);
        start = at + 1;
    }
    return entries;
}
