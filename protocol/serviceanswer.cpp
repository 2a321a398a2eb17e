#include "protocol/serviceanswer.h"

#include <limits>

TServiceAnswer::TServiceAnswer(const QByteArray &body)
    : m_document(XmlDocument::fromBytes(body, XmlDocument::Source::Network))
{
    if (!m_document)
        throw XmlReadError("answer is not a well-formed document");
}

XmlElement TServiceAnswer::status() const
{
    const XmlElement element = m_document->root().child(0);
    if (element.isNull())
        throw XmlReadError("answer has no status element");
    return element;
}

QString TServiceAnswer::Text(const char *attribute) const
{
    return status().requiredAttribute(QLatin1String(attribute));
}

qint32 TServiceAnswer::Integer(const char *attribute) const
{
    bool ok = false;
    const qint32 value = Text(attribute).toInt(&ok, 10);
    if (!ok)
        throw XmlReadError("not an integer");
    return value;
}

double TServiceAnswer::Decimal(const char *attribute) const
{
    bool ok = false;
    const double value = Text(attribute).toDouble(&ok);
    if (!ok)
        throw XmlReadError("not a decimal number");
    return value;
}

bool TServiceAnswer::Accepted() const
{
    return Text("Result") == QLatin1String("1");
}

QString TServiceAnswer::MessageList() const
{
    const XmlElement list = m_document->root().child(1);
    if (list.isNull())
        throw XmlReadError("answer has no message list");
    return list.toXml();
}
