#pragma once

#include "core/xmldocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The two fixed texts an exchange hands back besides the service's own Reason.
namespace ServiceMessage {
inline QString NoAnswer()
{
    return QCoreApplication::translate("ServiceMessage", "无法连接服务器，请检查Internet连接");
}
inline QString Unreadable()
{
    return QCoreApplication::translate("ServiceMessage", "服务器发生故障，请稍后再试");
}
} // namespace ServiceMessage

// A service answer: the root's first child element is the status element, whose attributes carry
// every value; the second child, in keep-alive answers, is the message list. Names of elements
// are never compared. Every read raises XmlReadError when the node or the attribute is missing or
// the value does not convert.
class TServiceAnswer
{
public:
    // Parses a non-empty reply body; an ill-formed one raises XmlReadError.
    explicit TServiceAnswer(const QByteArray &body);

    QString Text(const char *attribute) const;
    qint32 Integer(const char *attribute) const;
    double Decimal(const char *attribute) const;
    // "1", compared exactly, is acceptance.
    bool Accepted() const;
    // The message list element as XML text.
    QString MessageList() const;

private:
    XmlElement status() const;

    std::optional<XmlDocument> m_document;
};
