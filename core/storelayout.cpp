#include "core/storelayout.h"

#include <QByteArrayView>
#include <QFile>
#include <QRegularExpression>

namespace {

// The client's own stores have their insertion point within the first hundred bytes.
constexpr qint64 kHeadBytes = 64 * 1024;

bool declaresCodePage936(QByteArrayView declaration)
{
    static const QRegularExpression encoding(
        QStringLiteral(R"(\sencoding\s*=\s*["'](gb2312|cp936)["'])"),
        QRegularExpression::CaseInsensitiveOption);
    return encoding.match(QString::fromLatin1(declaration)).hasMatch();
}

// Moves `at` past comments, processing instructions and (with `text`) character data; false
// when the head ends first.
bool skipMisc(QByteArrayView head, qsizetype &at, bool text)
{
    for (;;) {
        if (text) {
            at = head.indexOf('<', at);
            if (at < 0)
                return false;
        } else {
            while (at < head.size() && QByteArrayView(" \t\r\n").contains(head[at]))
                ++at;
        }
        const QByteArrayView rest = head.sliced(qMin(at, head.size()));
        QByteArrayView end;
        if (rest.startsWith("<!--"))
            end = "-->";
        else if (rest.startsWith("<?"))
            end = "?>";
        else if (text && rest.startsWith("<![CDATA["))
            end = "]]>";
        else
            return at < head.size();
        const qsizetype endAt = head.indexOf(end, at);
        if (endAt < 0)
            return false;
        at = endAt + end.size();
    }
}

// The position after the start tag that begins at `at`, or -1 when it is an empty-element tag or
// does not end within the head.
qsizetype afterStartTag(QByteArrayView head, qsizetype at)
{
    for (qsizetype i = at + 1; i < head.size(); ++i) {
        if (head[i] == '"' || head[i] == '\'') {
            i = head.indexOf(head[i], i + 1);
            if (i < 0)
                return -1;
        } else if (head[i] == '>') {
            return head[i - 1] == '/' ? -1 : i + 1;
        }
    }
    return -1;
}

} // namespace

std::optional<StoreLayout> ReadStoreLayout(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(kHeadBytes);
    if (!head.startsWith("<?xml"))
        return std::nullopt;
    const qsizetype declarationEnd = head.indexOf("?>");
    if (declarationEnd < 0 || !declaresCodePage936(QByteArrayView(head).first(declarationEnd)))
        return std::nullopt;
    qsizetype at = declarationEnd + 2;
    if (!skipMisc(head, at, false) || head[at] != '<')
        return std::nullopt;
    at = afterStartTag(head, at);
    if (at < 0 || !skipMisc(head, at, true))
        return std::nullopt;
    return StoreLayout{at};
}
