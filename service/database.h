#pragma once

#include "service/sqlite.h"

#include <mutex>
#include <optional>

// The service's database file: accounts, site descriptions, sessions and queued messages. The
// server and the administration commands open the same file at the same time, so it runs in WAL
// mode with a busy timeout. One connection per process, used under a lock.
class Database
{
public:
    explicit Database(const QString &path);

    template <typename Work> auto locked(Work &&work)
    {
        std::lock_guard lock(m_mutex);
        return work(m_connection);
    }

private:
    std::mutex m_mutex;
    SqliteConnection m_connection;
};

// Small values the server leaves for the administration commands, such as the keep-alive period.
void SaveSetting(SqliteConnection &db, const QString &key, const QString &value);
std::optional<QString> Setting(SqliteConnection &db, const QString &key);
