#pragma once

#include <QString>
#include <stdexcept>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

class SqliteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A statement from the connection's cache. Bindings and the cursor are reset when it goes out of
// scope, so the next user finds it fresh.
class SqliteStatement
{
public:
    explicit SqliteStatement(sqlite3_stmt *statement) : m_statement(statement) {}
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    ~SqliteStatement();

    SqliteStatement &bind(int index, const QString &text);
    SqliteStatement &bind(int index, qint64 value);

    // True while a row is ready; false once the statement is done.
    bool step();
    // Runs a statement that returns no rows.
    void run();

    QString text(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;

private:
    sqlite3_stmt *m_statement;
};

// One connection with its prepared statements kept for reuse. Not thread-safe: the owner
// serialises access.
class SqliteConnection
{
public:
    explicit SqliteConnection(const QString &path);
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;
    ~SqliteConnection();

    void exec(const char *sql);
    SqliteStatement prepare(const char *sql);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    qint64 changes() const;

private:
    sqlite3 *m_db = nullptr;
    std::unordered_map<std::string, sqlite3_stmt *> m_cache;
};

// BEGIN IMMEDIATE at construction; rolled back unless committed.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteConnection &connection);
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;
    ~SqliteTransaction();
    void commit();

private:
    SqliteConnection &m_connection;
    bool m_done = false;
};
