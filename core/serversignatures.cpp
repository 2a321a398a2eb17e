#include "core/serversignatures.h"

#include "core/cp936.h"
#include "core/xmldocument.h"

std::optional<QList<ServerSignature>> LoadServerSignatures(const QString &path)
{
    const std::optional<XmlDocument> document = XmlDocument::fromFile(path);
    if (!document)
        return std::nullopt;
    QList<ServerSignature> signatures;
    for (XmlElement element = document->root().child(0); !element.isNull();
         element = element.nextSibling()) {
        const QString keyword = element.attribute(QStringLiteral("keyword")).value_or(QString());
        const QString name = element.attribute(QStringLiteral("name")).value_or(QString());
        if (!keyword.isEmpty() && !name.isEmpty())
            signatures.append({cp936::encode(keyword), name});
    }
    return signatures;
}

QString MatchServerSignature(const QList<ServerSignature> &signatures, const QByteArray &header)
{
    for (const ServerSignature &signature : signatures) {
        if (header.contains(signature.keyword))
            return signature.name;
    }
    return QString();
}
