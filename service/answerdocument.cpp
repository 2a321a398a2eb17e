#include "service/answerdocument.h"

#include "core/xmldocument.h"

AnswerDocument::AnswerDocument(bool accepted)
{
    set("Result", accepted ? QStringLiteral("1") : QStringLiteral("0"));
}

AnswerDocument AnswerDocument::refusal(const QString &reason)
{
    AnswerDocument answer(false);
    answer.set("Reason", reason);
    return answer;
}

AnswerDocument &AnswerDocument::set(const char *name, const QString &value)
{
    m_status.push_back({name, value});
    return *this;
}

AnswerDocument &AnswerDocument::set(const char *name, qint64 value)
{
    return set(name, QString::number(value));
}

AnswerDocument &AnswerDocument::withMessages(const std::vector<QueuedMessage> &messages)
{
    m_messages = messages;
    m_hasMessageList = true;
    return *this;
}

QByteArray AnswerDocument::toBytes() const
{
    // libxml2 does the escaping and the encoding, so no value can break the document.
    std::optional<XmlDocument> document =
        XmlDocument::fromUnicode(QStringLiteral("<Answer><Status/></Answer>"));
    XmlElement root = document->root();
    XmlElement status = root.child(0);
    for (const Attribute &attribute : m_status)
        status.setAttribute(QLatin1String(attribute.name), attribute.value);
    if (m_hasMessageList) {
        XmlElement list = root.insertChild(1, QStringLiteral("Messages"));
        for (const QueuedMessage &message : m_messages) {
            XmlElement item = list.insertChild(list.childCount(), QStringLiteral("Message"));
            item.setAttribute(QStringLiteral("Logid"), message.logid);
            item.setAttribute(QStringLiteral("FromLogid"), message.fromLogid);
            item.setAttribute(QStringLiteral("FromIP"), message.fromIp);
            item.setAttribute(QStringLiteral("PostDateTime"), message.postDateTime);
            item.setAttribute(QStringLiteral("Comment"), message.comment);
        }
    }
    return document->toCp936();
}
