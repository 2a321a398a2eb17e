#pragma once

#include "core/xmldocument.h"

#include <QString>
#include <QStringList>
#include <optional>

// The Comment of every message in the store at `path`, first to last; nothing when the store is
// missing or ill-formed.
inline std::optional<QStringList> StoredComments(const QString &path)
{
    const std::optional<XmlDocument> store = XmlDocument::fromFile(path);
    if (!store)
        return std::nullopt;
    QStringList comments;
    for (XmlElement m = store->root().child(0); !m.isNull(); m = m.nextSibling())
        comments << m.attribute(QStringLiteral("Comment")).value_or(QString());
    return comments;
}
