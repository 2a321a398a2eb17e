#pragma once

#include "service/sqlite.h"

#include <QString>
#include <vector>

// A short message waiting for its recipient's next keep-alive.
struct QueuedMessage
{
    QString logid; // the recipient
    QString fromLogid;
    QString fromIp;
    QString postDateTime;
    QString comment;
};

void QueueMessage(SqliteConnection &db, const QueuedMessage &message);

// The recipient's undelivered messages, oldest first, now marked delivered: each goes out once.
// They stay in the table as a record of what was delivered.
std::vector<QueuedMessage> TakePendingMessages(SqliteConnection &db, const QString &logid,
                                               qint64 now);

qint64 PendingMessageCount(SqliteConnection &db, const QString &logid);
