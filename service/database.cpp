#include "service/database.h"

namespace {

// Ids compare without regard to case, so "Abc" cannot register beside "abc".
constexpr const char *kSchema = R"sql(
CREATE TABLE IF NOT EXISTS accounts (
    logid TEXT PRIMARY KEY COLLATE NOCASE,
    password_hash TEXT NOT NULL,
    level INTEGER NOT NULL DEFAULT 1,
    name TEXT NOT NULL DEFAULT '',
    sex INTEGER NOT NULL DEFAULT 0,
    birthday TEXT NOT NULL DEFAULT '',
    location TEXT NOT NULL DEFAULT '',
    address TEXT NOT NULL DEFAULT '',
    postal_code TEXT NOT NULL DEFAULT '',
    telephone TEXT NOT NULL DEFAULT '',
    icno TEXT NOT NULL DEFAULT '',
    email TEXT NOT NULL DEFAULT '',
    from_client INTEGER NOT NULL DEFAULT 0,
    created_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS sites (
    logid TEXT PRIMARY KEY COLLATE NOCASE REFERENCES accounts(logid),
    web_is_open INTEGER NOT NULL,
    web_is_dynamic INTEGER NOT NULL,
    web_port INTEGER NOT NULL,
    web_static_url TEXT NOT NULL,
    web_title TEXT NOT NULL,
    web_keyword TEXT NOT NULL,
    web_intro TEXT NOT NULL,
    web_areas TEXT NOT NULL,
    not_login_url TEXT NOT NULL,
    client_version TEXT NOT NULL,
    updated_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS sessions (
    logid TEXT PRIMARY KEY COLLATE NOCASE REFERENCES accounts(logid),
    verfy_number INTEGER NOT NULL,
    remote_addr TEXT NOT NULL,
    login_at INTEGER NOT NULL,
    last_seen INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS messages (
    id INTEGER PRIMARY KEY,
    to_logid TEXT NOT NULL COLLATE NOCASE REFERENCES accounts(logid),
    from_logid TEXT NOT NULL,
    from_ip TEXT NOT NULL,
    posted_at TEXT NOT NULL,
    comment TEXT NOT NULL,
    delivered_at INTEGER,
    sent_in INTEGER
);
CREATE INDEX IF NOT EXISTS messages_pending ON messages(to_logid) WHERE delivered_at IS NULL;
CREATE TABLE IF NOT EXISTS settings (
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
)sql";

bool messagesHaveColumn(SqliteConnection &db, const QString &column)
{
    SqliteStatement query = db.prepare("PRAGMA table_info(messages)");
    while (query.step()) {
        if (query.text(1) == column)
            return true;
    }
    return false;
}

} // namespace

Database::Database(const QString &path) : m_connection(path)
{
    // The timeout first: the pragmas below may already meet a writer in the other process.
    m_connection.exec("PRAGMA busy_timeout = 5000");
    m_connection.exec("PRAGMA journal_mode = WAL");
    // In WAL mode NORMAL cannot corrupt the file; a power cut may only lose the last commits.
    m_connection.exec("PRAGMA synchronous = NORMAL");
    m_connection.exec("PRAGMA foreign_keys = ON");
    SqliteTransaction transaction(m_connection);
    m_connection.exec(kSchema);
    // The verification number of the login whose last keep-alive answer carried the message;
    // databases from before messages waited for their receipt lack it.
    if (!messagesHaveColumn(m_connection, QStringLiteral("sent_in")))
        m_connection.exec("ALTER TABLE messages ADD COLUMN sent_in INTEGER");
    transaction.commit();
}

void SaveSetting(SqliteConnection &db, const QString &key, const QString &value)
{
    db.prepare("INSERT INTO settings(key, value) VALUES(?1, ?2) "
               "ON CONFLICT(key) DO UPDATE SET value = excluded.value")
        .bind(1, key)
        .bind(2, value)
        .run();
}

std::optional<QString> Setting(SqliteConnection &db, const QString &key)
{
    SqliteStatement query = db.prepare("SELECT value FROM settings WHERE key = ?1");
    query.bind(1, key);
    if (!query.step())
        return std::nullopt;
    return query.text(0);
}
