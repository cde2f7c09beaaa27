#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class DbConnection;

/// A prepared SQL statement of a DbConnection, finalized when it goes. Errors throw
/// KelMsgException naming the connection's file.
class DbStatement final
{
public:
    DbStatement(DbConnection &connection, std::string_view sql);
    DbStatement(const DbStatement &) = delete;
    DbStatement &operator=(const DbStatement &) = delete;
    ~DbStatement();

    /// Parameters count from 1.
    DbStatement &bind(int index, std::int64_t value);
    DbStatement &bind(int index, std::string_view text);
    DbStatement &bindBlob(int index, std::string_view bytes);
    /// Binds `bytes` without copying them (a unit's packed lists run to megabytes): they must
    /// stay as they are until the parameter is bound again or the statement goes.
    DbStatement &bindBlobInPlace(int index, std::string_view bytes);

    /// Runs one step: true when a row is ready, false when the statement is done.
    bool step();
    /// Runs a statement that returns no rows, then resets it for the next bindings.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    /// The bytes of a blob column; valid until the next step or reset.
    std::string_view blob(int column) const;

private:
    DbConnection &m_connection;
    sqlite3_stmt *m_statement = nullptr;
};

/// One SQLite connection to an analysis database, closed when it goes. Each thread opens its
/// own. Errors throw KelMsgException with a message that names the file: missing, locked,
/// damaged, not a database, or another failure with SQLite's own words.
class DbConnection final
{
public:
    enum class Mode {
        readOnly, ///< never writes the file; fails when it does not exist
        readWrite ///< creates the file when it does not exist
    };

    /// Opens `fileName`; waits up to `busyTimeoutMs` milliseconds for other connections' locks.
    DbConnection(std::string fileName, Mode mode, int busyTimeoutMs);
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;
    ~DbConnection();

    const std::string &fileName() const { return m_fileName; }
    sqlite3 *handle() const { return m_db; }
    int busyTimeoutMs() const { return m_busyTimeoutMs; }

    /// Runs SQL text that returns no rows (one or more statements).
    void execute(std::string_view sql);
    /// As `execute`, for statements that SQLite may refuse at once while another connection
    /// holds a lock instead of waiting for it (switching a new file to WAL mode while another
    /// process does the same): tries again until the busy timeout has passed.
    void executeWaiting(std::string_view sql);
    /// Runs a statement that returns one integer (e.g. "PRAGMA user_version").
    std::int64_t integer(std::string_view sql);
    std::int64_t lastInsertId() const;

    /// Throws the KelMsgException that fits SQLite's result code `code`.
    [[noreturn]] void fail(int code, std::string_view doing) const;

private:
    std::string m_fileName;
    sqlite3 *m_db = nullptr;
    int m_busyTimeoutMs = 0;
};

/// A transaction that rolls back unless committed, so an exception or a cancelled run never
/// leaves half a unit. `Kind::write` takes the write lock at once (BEGIN IMMEDIATE), so a
/// concurrent writer waits (busy timeout) at the start instead of failing half-way.
class DbTransaction final
{
public:
    enum class Kind { read, write };

    DbTransaction(DbConnection &connection, Kind kind);
    DbTransaction(const DbTransaction &) = delete;
    DbTransaction &operator=(const DbTransaction &) = delete;
    ~DbTransaction();

    void commit();

private:
    DbConnection &m_connection;
    bool m_open = false;
};
