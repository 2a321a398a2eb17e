#pragma once

#include "service/mailbox.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The XML answer to the client's requests: a root whose first child, the status element, carries
// every value as an attribute, and for keep-alives a second child listing the delivered messages.
// The client finds both by position, so nothing may come before the status element.
class AnswerDocument
{
public:
    // An answer that sets Result="1" or "0" first.
    explicit AnswerDocument(bool accepted);
    static AnswerDocument refusal(const QString &reason);

    AnswerDocument &set(const char *name, const QString &value);
    AnswerDocument &set(const char *name, qint64 value);
    AnswerDocument &withMessages(const std::vector<QueuedMessage> &messages);

    // CP936 with an encoding="gb2312" declaration.
    QByteArray toBytes() const;

private:
    // The same bytes libxml2 writes, for an answer without messages whose values are printable
    // ASCII: nearly every keep-alive's. Nothing when the answer is not of that kind.
    std::optional<QByteArray> plainBytes() const;

    struct Attribute
    {
        const char *name;
        QString value;
    };
    std::vector<Attribute> m_status;
    std::vector<QueuedMessage> m_messages;
    bool m_hasMessageList = false;
};
