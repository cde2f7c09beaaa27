#include "DbConnection.h"

#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

std::string describe(int code, sqlite3 *db)
{
    const char *message = db ? sqlite3_errmsg(db) : nullptr;
    return message && *message ? std::string(message) : std::string(sqlite3_errstr(code));
}

} // namespace

DbConnection::DbConnection(std::string fileName, Mode mode, int busyTimeoutMs)
    : m_fileName(std::move(fileName))
    , m_busyTimeoutMs(busyTimeoutMs)
{
    std::error_code error;
    if (mode == Mode::readOnly && !std::filesystem::exists(m_fileName, error))
        ITHROW(KelMsgException(KelMsgId::databaseMissing, {m_fileName}));
    if (std::filesystem::is_directory(m_fileName, error))
        ITHROW(KelMsgException(KelMsgId::notAnAnalysisDatabase, {m_fileName, "it is a directory"}));
    const int flags = (mode == Mode::readOnly ? SQLITE_OPEN_READONLY
                                              : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
                      | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(m_fileName.c_str(), &m_db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string reason = describe(code, m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        ITHROW(KelMsgException(KelMsgId::databaseNotOpened, {m_fileName, reason}));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
}

DbConnection::~DbConnection()
{
    sqlite3_close_v2(m_db);
}

void DbConnection::fail(int code, std::string_view doing) const
{
    const std::string reason = describe(code, m_db) + " (" + std::string(doing) + ")";
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        ITHROW(KelMsgException(KelMsgId::databaseLocked,
                               {m_fileName, std::to_string((m_busyTimeoutMs + 999) / 1000)}));
    case SQLITE_NOTADB:
        ITHROW(KelMsgException(KelMsgId::notAnAnalysisDatabase, {m_fileName, reason}));
    case SQLITE_CORRUPT:
        ITHROW(KelMsgException(KelMsgId::databaseDamaged, {m_fileName, reason}));
    default:
        ITHROW(KelMsgException(KelMsgId::databaseNotOpened, {m_fileName, reason}));
    }
}

void DbConnection::execute(std::string_view sql)
{
    const std::string text(sql);
    const int code = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code, text.substr(0, 60));
}

void DbConnection::executeWaiting(std::string_view sql)
{
    const std::string text(sql);
    const auto deadline = std::chrono::steady_clock::now()
                          + std::chrono::milliseconds(m_busyTimeoutMs);
    for (;;) {
        const int code = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, nullptr);
        if (code == SQLITE_OK)
            return;
        const bool busy = (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
        if (!busy || std::chrono::steady_clock::now() >= deadline)
            fail(code, text.substr(0, 60));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::int64_t DbConnection::integer(std::string_view sql)
{
    DbStatement statement(*this, sql);
    return statement.step() ? statement.integer(0) : 0;
}

std::int64_t DbConnection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

DbStatement::DbStatement(DbConnection &connection, std::string_view sql)
    : m_connection(connection)
{
    const int code = sqlite3_prepare_v2(connection.handle(),
                                        sql.data(),
                                        static_cast<int>(sql.size()),
                                        &m_statement,
                                        nullptr);
    if (code != SQLITE_OK)
        connection.fail(code, "preparing " + std::string(sql.substr(0, 60)));
}

DbStatement::~DbStatement()
{
    sqlite3_finalize(m_statement);
}

DbStatement &DbStatement::bind(int index, std::int64_t value)
{
    const int code = sqlite3_bind_int64(m_statement, index, value);
    if (code != SQLITE_OK)
        m_connection.fail(code, "binding a number");
    return *this;
}

DbStatement &DbStatement::bind(int index, std::string_view text)
{
    const int code = sqlite3_bind_text64(m_statement,
                                         index,
                                         text.data(),
                                         text.size(),
                                         SQLITE_TRANSIENT,
                                         SQLITE_UTF8);
    if (code != SQLITE_OK)
        m_connection.fail(code, "binding a text");
    return *this;
}

DbStatement &DbStatement::bindBlob(int index, std::string_view bytes)
{
    const int code = sqlite3_bind_blob64(m_statement,
                                         index,
                                         bytes.data(),
                                         bytes.size(),
                                         SQLITE_TRANSIENT);
    if (code != SQLITE_OK)
        m_connection.fail(code, "binding a blob");
    return *this;
}

DbStatement &DbStatement::bindBlobInPlace(int index, std::string_view bytes)
{
    const int code = sqlite3_bind_blob64(m_statement,
                                         index,
                                         bytes.data(),
                                         bytes.size(),
                                         SQLITE_STATIC);
    if (code != SQLITE_OK)
        m_connection.fail(code, "binding a blob");
    return *this;
}

bool DbStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    const std::string sql = sqlite3_sql(m_statement) ? sqlite3_sql(m_statement) : "";
    sqlite3_reset(m_statement);
    m_connection.fail(code, sql.substr(0, 60));
}

void DbStatement::run()
{
    while (step()) {
    }
    reset();
}

void DbStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

std::int64_t DbStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string DbStatement::text(int column) const
{
    const auto *text = sqlite3_column_text(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return text ? std::string(reinterpret_cast<const char *>(text), static_cast<std::size_t>(size))
                : std::string();
}

std::string_view DbStatement::blob(int column) const
{
    const void *data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data ? std::string_view(static_cast<const char *>(data), static_cast<std::size_t>(size))
                : std::string_view();
}

DbTransaction::DbTransaction(DbConnection &connection, Kind kind)
    : m_connection(connection)
{
    m_connection.execute(kind == Kind::write ? "BEGIN IMMEDIATE" : "BEGIN");
    m_open = true;
}

DbTransaction::~DbTransaction()
{
    if (m_open)
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void DbTransaction::commit()
{
    m_connection.execute("COMMIT");
    m_open = false;
}
