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

std::optional<QByteArray> AnswerDocument::plainBytes() const
{
    if (!m_messages.empty())
        return std::nullopt;
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Answer>\n  <Status";
    for (const Attribute &attribute : m_status) {
        bytes += ' ';
        bytes += attribute.name;
        bytes += "=\"";
        for (const QChar c : attribute.value) {
            const char16_t u = c.unicode();
            if (u < 0x20 || u > 0x7E)
                return std::nullopt;
            switch (u) {
            case '&':
                bytes += "&amp;";
                break;
            case '<':
                bytes += "&lt;";
                break;
            case '>':
                bytes += "&gt;";
                break;
            case '"':
                bytes += "&quot;";
                break;
            default:
                bytes += char(u);
            }
        }
        bytes += '"';
    }
    bytes += "/>\n";
    if (m_hasMessageList)
        bytes += "  <Messages/>\n";
    return bytes + "</Answer>\n";
}

QByteArray AnswerDocument::toBytes() const
{
    // Building and saving a document takes about 20 microseconds, most of a keep-alive's work.
    if (std::optional<QByteArray> plain = plainBytes())
        return *plain;
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
