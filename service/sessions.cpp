#include "service/sessions.h"

bool IsOnline(const Session &session, qint64 now, int periodSeconds)
{
    return now - session.lastSeen <= 3 * qint64(periodSeconds);
}

void SaveSession(SqliteConnection &db, const Session &session)
{
    db.prepare("INSERT INTO sessions(logid, verfy_number, remote_addr, login_at, last_seen)"
               " VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(logid) DO UPDATE SET"
               " verfy_number = excluded.verfy_number, remote_addr = excluded.remote_addr,"
               " login_at = excluded.login_at, last_seen = excluded.last_seen")
        .bind(1, session.logid)
        .bind(2, session.verfyNumber)
        .bind(3, session.remoteAddr)
        .bind(4, session.loginAt)
        .bind(5, session.lastSeen)
        .run();
}

void DeleteSession(SqliteConnection &db, const QString &logid)
{
    db.prepare("DELETE FROM sessions WHERE logid = ?1").bind(1, logid).run();
}

std::vector<Session> LoadSessions(SqliteConnection &db)
{
    std::vector<Session> sessions;
    SqliteStatement query = db.prepare("SELECT logid, verfy_number, remote_addr, login_at, "
                                       "last_seen FROM sessions ORDER BY logid");
    while (query.step()) {
        sessions.push_back({query.text(0), qint32(query.integer(1)), query.text(2),
                            query.integer(3), query.integer(4)});
    }
    return sessions;
}

void SaveLastSeen(SqliteConnection &db, const std::vector<Session> &sessions)
{
    if (sessions.empty())
        return;
    SqliteTransaction transaction(db);
    for (const Session &session : sessions) {
        db.prepare("UPDATE sessions SET last_seen = ?3, remote_addr = ?4"
                   " WHERE logid = ?1 AND verfy_number = ?2")
            .bind(1, session.logid)
            .bind(2, session.verfyNumber)
            .bind(3, session.lastSeen)
            .bind(4, session.remoteAddr)
            .run();
    }
    transaction.commit();
}

void SessionTable::put(const Session &session)
{
    std::lock_guard lock(m_mutex);
    m_sessions.insert(key(session.logid), session);
    m_changed.remove(key(session.logid));
}

bool SessionTable::touch(const QString &logid, qint32 verfyNumber, const QString &remoteAddr,
                         qint64 now)
{
    std::lock_guard lock(m_mutex);
    const QString k = key(logid);
    auto found = m_sessions.find(k);
    if (found == m_sessions.end() || found->verfyNumber != verfyNumber)
        return false;
    found->lastSeen = now;
    // A client whose address changed is reached at the new one.
    if (found->remoteAddr != remoteAddr)
        found->remoteAddr = remoteAddr;
    m_changed.insert(k);
    return true;
}

bool SessionTable::matches(const QString &logid, qint32 verfyNumber) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_sessions.constFind(key(logid));
    return found != m_sessions.cend() && found->verfyNumber == verfyNumber;
}

void SessionTable::remove(const QString &logid)
{
    std::lock_guard lock(m_mutex);
    m_sessions.remove(key(logid));
    m_changed.remove(key(logid));
}

std::optional<Session> SessionTable::find(const QString &logid) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_sessions.constFind(key(logid));
    if (found == m_sessions.cend())
        return std::nullopt;
    return *found;
}

std::vector<Session> SessionTable::takeChanged()
{
    std::lock_guard lock(m_mutex);
    std::vector<Session> changed;
    changed.reserve(m_changed.size());
    for (const QString &k : std::as_const(m_changed))
        changed.push_back(m_sessions.value(k));
    m_changed.clear();
    return changed;
}
