#pragma once

#include "service/sqlite.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <mutex>
#include <optional>
#include <vector>

// One login of a user: the verification number it was given and when the user was last heard of.
struct Session
{
    QString logid; // as registered
    qint32 verfyNumber = 0;
    QString remoteAddr; // the client's address as the service saw it
    qint64 loginAt = 0;
    qint64 lastSeen = 0;
};

// A user counts as online until three keep-alive periods have passed without one.
bool IsOnline(const Session &session, qint64 now, int periodSeconds);

// Persistence: the server is the only writer of the sessions table.
void SaveSession(SqliteConnection &db, const Session &session);
void DeleteSession(SqliteConnection &db, const QString &logid);
std::vector<Session> LoadSessions(SqliteConnection &db);
// Updates the sessions that still carry the same verification number; ended ones stay ended.
void SaveLastSeen(SqliteConnection &db, const std::vector<Session> &sessions);

// The sessions in memory, so that a keep-alive checks and touches its session without a database
// write; the changed ones are written back now and then (takeChanged). Thread-safe.
class SessionTable
{
public:
    void put(const Session &session);
    // Records a keep-alive; false when the number is not that of the user's current session.
    bool touch(const QString &logid, qint32 verfyNumber, const QString &remoteAddr, qint64 now);
    bool matches(const QString &logid, qint32 verfyNumber) const;
    void remove(const QString &logid);
    std::optional<Session> find(const QString &logid) const;
    // The sessions touched since the last call.
    std::vector<Session> takeChanged();

private:
    static QString key(const QString &logid) { return logid.toLower(); }

    mutable std::mutex m_mutex;
    QHash<QString, Session> m_sessions;
    QSet<QString> m_changed;
};
