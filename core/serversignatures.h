#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One entry of xml/webServerType.xml: a text that marks a kind of web server in a reply header.
struct ServerSignature
{
    QByteArray keyword; // CP936 bytes, compared byte for byte
    QString name;
};

// The signatures in file order, which is their priority. Nothing when the file is missing or
// ill-formed. An element without a keyword or a name, or with an empty one, is skipped: an empty
// keyword would match every header.
std::optional<QList<ServerSignature>> LoadServerSignatures(const QString &path);

// The name of the first signature whose keyword occurs anywhere in `header` (status line
// included, case-sensitive); empty when none does.
QString MatchServerSignature(const QList<ServerSignature> &signatures, const QByteArray &header);
