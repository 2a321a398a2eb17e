#include "service/mailbox.h"

void QueueMessage(SqliteConnection &db, const QueuedMessage &message)
{
    db.prepare("INSERT INTO messages(to_logid, from_logid, from_ip, posted_at, comment)"
               " VALUES(?1, ?2, ?3, ?4, ?5)")
        .bind(1, message.logid)
        .bind(2, message.fromLogid)
        .bind(3, message.fromIp)
        .bind(4, message.postDateTime)
        .bind(5, message.comment)
        .run();
}

std::vector<QueuedMessage> TakePendingMessages(SqliteConnection &db, const QString &logid,
                                               qint64 now)
{
    std::vector<QueuedMessage> messages;
    qint64 lastId = 0;
    {
        SqliteStatement query =
            db.prepare("SELECT id, to_logid, from_logid, from_ip, posted_at, comment FROM messages"
                       " WHERE to_logid = ?1 AND delivered_at IS NULL ORDER BY id");
        query.bind(1, logid);
        while (query.step()) {
            lastId = query.integer(0);
            messages.push_back(
                {query.text(1), query.text(2), query.text(3), query.text(4), query.text(5)});
        }
    }
    // Bounded by the last id read: a message the other process adds meanwhile waits for the next
    // keep-alive instead of being marked without having been sent.
    if (!messages.empty()) {
        db.prepare("UPDATE messages SET delivered_at = ?2"
                   " WHERE to_logid = ?1 AND delivered_at IS NULL AND id <= ?3")
            .bind(1, logid)
            .bind(2, now)
            .bind(3, lastId)
            .run();
    }
    return messages;
}

qint64 PendingMessageCount(SqliteConnection &db, const QString &logid)
{
    SqliteStatement query =
        db.prepare("SELECT count(*) FROM messages WHERE to_logid = ?1 AND delivered_at IS NULL");
    query.bind(1, logid);
    return query.step() ? query.integer(0) : 0;
}
