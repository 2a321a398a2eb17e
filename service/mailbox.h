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
    qint64 id = 0; // given when queued
};

void QueueMessage(SqliteConnection &db, const QueuedMessage &message);

// The messages for the answer to a keep-alive of the login with `verfyNumber`. That keep-alive
// shows that the client read the previous answer of the same login, so what it carried is marked
// delivered now (the rows stay as a record). The next oldest undelivered ones, at most `limit`, go
// out and are noted as sent in this login: an answer the client loses leaves them pending, and a
// new login gets them again.
std::vector<QueuedMessage> ExchangeMessages(SqliteConnection &db, const QString &logid,
                                            qint32 verfyNumber, int limit, qint64 now);

qint64 PendingMessageCount(SqliteConnection &db, const QString &logid);
