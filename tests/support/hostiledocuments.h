#pragma once

#include "core/xmldocument.h"

#include <QByteArray>
#include <QList>
#include <utility>

// Answers shaped to make an XML parser slow, each of about `bytes` bytes (the client's bound on
// an answer), in the service's own framing where the shape allows.
namespace hostile {

inline QByteArray repeatedUpTo(QByteArrayView unit, qsizetype bytes)
{
    QByteArray out;
    out.reserve(bytes);
    while (out.size() + unit.size() <= bytes)
        out += unit;
    return out;
}

// `count` attributes named a0, a1, ... with empty values.
inline QByteArray attributes(int count, QByteArrayView prefix = "a")
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += ' ' + prefix.toByteArray() + QByteArray::number(i) + "=\"\"";
    return out;
}

inline QList<std::pair<const char *, QByteArray>> documents(qsizetype bytes)
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"gb2312\"?><r><s Result=\"1\"/><l>";
    const QByteArray tail = "</l></r>";
    const qsizetype body = bytes - head.size() - tail.size();
    const auto wrapped = [&](QByteArrayView unit) {
        return head + repeatedUpTo(unit, body) + tail;
    };

    QByteArray oneElement = "<r><s";
    for (int i = 0; oneElement.size() < bytes - 16; ++i)
        oneElement += " a" + QByteArray::number(i) + "=\"\"";
    oneElement += "/></r>";

    // Namespaces in scope at every level make each prefixed name a long lookup.
    QByteArray namespaces;
    QByteArray namespaceLevel = "<n" + attributes(32, "xmlns:p").replace("=\"\"", "=\"u\"");
    for (int i = 0; i < 32; ++i)
        namespaceLevel += " p" + QByteArray::number(i) + ":x=\"\"";
    namespaceLevel += '>';
    int depth = 0;
    while (namespaces.size() + namespaceLevel.size() + (depth + 1) * 4 < body && depth < 250) {
        namespaces += namespaceLevel;
        ++depth;
    }
    for (int i = 0; i < depth; ++i)
        namespaces += "</n>";

    // As many declarations in scope as nesting allows, then prefixed names that resolve only to
    // the first one.
    QByteArray scopes;
    for (int level = 0; level < 250; ++level)
        scopes +=
            "<n" +
            attributes(64, "xmlns:q" + QByteArray::number(level) + "_").replace("=\"\"", "=\"u\"") +
            '>';
    scopes += repeatedUpTo("<m" + attributes(64, "q0_0:a") + "/>", body - scopes.size() - 250 * 4);
    for (int level = 0; level < 250; ++level)
        scopes += "</n>";

    // The most markup a network document may hold (less the answer's own), spread over the size.
    const qsizetype elements = XmlDocument::kMaxNetworkNodes - 8;
    const int perElement = int(XmlDocument::kMaxNetworkAttributes / XmlDocument::kMaxNetworkNodes);
    const QByteArray value(body / elements / perElement - 8, 'v');
    QByteArray fullElement = "<m";
    for (int i = 0; i < perElement; ++i)
        fullElement += " a" + QByteArray::number(i) + "=\"" + value + '"';
    fullElement += "/>";

    const QByteArray deep = repeatedUpTo("<d>", 250 * 3) + repeatedUpTo("</d>", 250 * 4);
    return {
        {"one element, as many attributes as fit", oneElement},
        {"elements of 64 attributes", wrapped("<m" + attributes(64) + "/>")},
        {"elements of 64 long-named attributes",
         wrapped("<m" + attributes(64, QByteArray(200, 'n')) + "/>")},
        {"nested namespaces, 32 per level", head + namespaces + tail},
        {"namespaces in scope, the first one used", head + scopes + tail},
        {"all the markup allowed", head + fullElement.repeated(elements) + tail},
        {"all the attributes in 64-attribute elements",
         head + repeatedUpTo("<m" + attributes(64) + "/>", body / 8) +
             QByteArray(body - body / 8 - 20, 't') + tail},
        {"nesting 250 deep, repeated", wrapped(deep)},
        {"tiny elements", wrapped("<m/>")},
        {"character references", wrapped("&#x4E2D;&#20013;&amp;")},
        {"one long attribute value", head + "<m v=\"" + QByteArray(body - 20, 'v') + "\"/>" + tail},
        {"comments", wrapped("<!-- c -->")},
        {"CP936 text", wrapped("\xD6\xD0\xCE\xC4")},
    };
}

} // namespace hostile
