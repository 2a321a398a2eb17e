#include "service/sqlite.h"

#include <sqlite3.h>

namespace {

[[noreturn]] void fail(sqlite3 *db, const char *what)
{
    throw SqliteError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

SqliteStatement::~SqliteStatement()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

SqliteStatement &SqliteStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail(sqlite3_db_handle(m_statement), "bind");
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_db_handle(m_statement), "bind");
    return *this;
}

bool SqliteStatement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        fail(sqlite3_db_handle(m_statement), "step");
    }
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

SqliteConnection::SqliteConnection(const QString &path)
{
    const QByteArray name = path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const std::string message =
            "open " + path.toStdString() + ": " + (m_db ? sqlite3_errmsg(m_db) : "out of memory");
        sqlite3_close(m_db);
        throw SqliteError(message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteConnection::~SqliteConnection()
{
    for (auto &[sql, statement] : m_cache)
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

void SqliteConnection::exec(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db, "exec");
}

SqliteStatement SqliteConnection::prepare(const char *sql)
{
    auto found = m_cache.find(sql);
    if (found == m_cache.end()) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK)
            fail(m_db, "prepare");
        found = m_cache.emplace(sql, statement).first;
    }
    return SqliteStatement(found->second);
}

qint64 SqliteConnection::changes() const
{
    return sqlite3_changes64(m_db);
}

SqliteTransaction::SqliteTransaction(SqliteConnection &connection) : m_connection(connection)
{
    m_connection.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (!m_done) {
        try {
            m_connection.exec("ROLLBACK");
        } catch (const SqliteError &) {
            // A failed statement may already have ended the transaction.
        }
    }
}

void SqliteTransaction::commit()
{
    m_connection.exec("COMMIT");
    m_done = true;
}
