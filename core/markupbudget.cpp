#include "core/markupbudget.h"

namespace {

// The position just past `end` from `from`, or -1 when `end` does not come.
qsizetype skipPast(QByteArrayView bytes, qsizetype from, QByteArrayView end)
{
    const qsizetype at = bytes.indexOf(end, from);
    return at < 0 ? -1 : at + end.size();
}

bool spend(qsizetype &left, qsizetype count = 1)
{
    return (left -= count) >= 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the attribute whose '=' ends `tag` declares a namespace. Every prefixed name is looked
// up through all the declarations in scope, so many of them make every lookup long.
bool declaresNamespace(QByteArrayView tag)
{
    qsizetype end = tag.size();
    while (end > 0 && isBlank(tag[end - 1]))
        --end;
    qsizetype start = end;
    while (start > 0 && !isBlank(tag[start - 1]) && tag[start - 1] != '"' && tag[start - 1] != '\'')
        --start;
    const QByteArrayView name = tag.sliced(start, end - start);
    return name == "xmlns" || name.startsWith("xmlns:");
}

// The position after the start tag that opens at `from`, or -1 when it has more attributes than
// the budget allows, or does not end.
qsizetype skipStartTag(QByteArrayView bytes, qsizetype from, MarkupBudget &budget)
{
    int attributes = 0;
    for (qsizetype i = from; i < bytes.size(); ++i) {
        switch (bytes[i]) {
        case '>':
            return spend(budget.attributes, attributes) ? i + 1 : -1;
        case '=':
            if (++attributes > budget.attributesPerElement)
                return -1;
            if (declaresNamespace(bytes.sliced(from, i - from)) && !spend(budget.namespaces))
                return -1;
            break;
        case '"':
        case '\'':
            i = bytes.indexOf(bytes[i], i + 1);
            if (i < 0)
                return -1;
            break;
        default:
            break;
        }
    }
    return -1;
}

} // namespace

bool WithinMarkupBudget(QByteArrayView bytes, MarkupBudget budget)
{
    if (bytes.contains('\0'))
        return false;
    qsizetype i = 0;
    while ((i = bytes.indexOf('<', i)) >= 0) {
        const QByteArrayView rest = bytes.sliced(i);
        if (!rest.startsWith("</") && !spend(budget.nodes))
            return false;
        if (rest.startsWith("<!--")) {
            i = skipPast(bytes, i + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = skipPast(bytes, i + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            i = skipPast(bytes, i + 2, "?>");
        } else if (rest.startsWith("<!")) {
            return false;
        } else if (rest.startsWith("</")) {
            i = skipPast(bytes, i + 2, ">");
        } else {
            i = skipStartTag(bytes, i + 1, budget);
            if (i < 0)
                return false;
        }
        // Something left open: the parser refuses the document in its own time, which is linear.
        if (i < 0)
            return true;
    }
    return true;
}
