#include "core/loginfo.h"

#include "core/cp936.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString kindWord(int kind)
{
    switch (kind) {
    case TLogInfo::Failure:
        return QStringLiteral("失败");
    case TLogInfo::Success:
        return QStringLiteral("成功");
    case TLogInfo::Notice:
        return QStringLiteral("注意");
    default:
        return {};
    }
}

} // namespace

QString TLogInfo::FormatLine(int kind, const QString &source, const QString &place,
                             const QString &action, const QString &detail)
{
    const QDateTime now = QDateTime::currentDateTime();
    QString line = kindWord(kind) + QStringLiteral("  ") +
                   now.toString(QStringLiteral("yyyy-M-d")) + QLatin1Char(',') +
                   now.toString(QStringLiteral("H:mm:ss")) + QStringLiteral("  [") + action +
                   QStringLiteral("] - ") + detail + QStringLiteral("  ") + source +
                   QStringLiteral(" (") + place + QLatin1Char(')');
    // A field (a service's Reason, for one) must not start a line of its own: one entry, one line.
    for (const QChar lineBreak : {QLatin1Char('\r'), QLatin1Char('\n')})
        line.replace(lineBreak, QLatin1Char(' '));
    return line;
}

void TLogInfo::Write(int kind, const QString &source, const QString &place, const QString &action,
                     const QString &detail, bool enabled) const
{
    if (!enabled)
        return;
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QFileInfo::exists(directory))
        QDir().mkdir(directory);
    const QByteArray line =
        cp936::encode(FormatLine(kind, source, place, action, detail)) + QByteArrayLiteral("\r\n");
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size() ||
        !file.flush())
        qWarning("activity log: entry skipped, %s: %s", qUtf8Printable(m_path),
                 qUtf8Printable(file.errorString()));
}
