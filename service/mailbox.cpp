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

std::vector<QueuedMessage> ExchangeMessages(SqliteConnection &db, const QString &logid,
                                            qint32 verfyNumber, int limit, qint64 now)
{
    qint64 confirmedUpTo = 0;
    std::vector<QueuedMessage> next;
    {
        // The previous answer carried at most `limit`, all older than the rest: twice that finds
        // them and the next ones.
        SqliteStatement query = db.prepare(
            "SELECT id, sent_in, to_logid, from_logid, from_ip, posted_at, comment FROM messages"
            " WHERE to_logid = ?1 AND delivered_at IS NULL ORDER BY id LIMIT ?2");
        query.bind(1, logid).bind(2, qint64(limit) * 2);
        while (query.step()) {
            const qint64 id = query.integer(0);
            if (!query.isNull(1) && query.integer(1) == verfyNumber)
                confirmedUpTo = id;
            else if (next.size() < std::size_t(limit))
                next.push_back({query.text(2), query.text(3), query.text(4), query.text(5),
                                query.text(6), id});
        }
    }
    // Each step stands alone: a stop between them only sends the next ones again. Messages the
    // administration command adds meanwhile have higher ids and wait for the next keep-alive.
    if (confirmedUpTo > 0) {
        db.prepare("UPDATE messages SET delivered_at = ?2"
                   " WHERE to_logid = ?1 AND delivered_at IS NULL AND sent_in = ?3 AND id <= ?4")
            .bind(1, logid)
            .bind(2, now)
            .bind(3, verfyNumber)
            .bind(4, confirmedUpTo)
            .run();
    }
    if (!next.empty()) {
        db.prepare("UPDATE messages SET sent_in = ?2"
                   " WHERE to_logid = ?1 AND delivered_at IS NULL AND id BETWEEN ?3 AND ?4")
            .bind(1, logid)
            .bind(2, verfyNumber)
            .bind(3, next.front().id)
            .bind(4, next.back().id)
            .run();
    }
    return next;
}

qint64 PendingMessageCount(SqliteConnection &db, const QString &logid)
{
    SqliteStatement query =
        db.prepare("SELECT count(*) FROM messages WHERE to_logid = ?1 AND delivered_at IS NULL");
    query.bind(1, logid);
    return query.step() ? query.integer(0) : 0;
}
