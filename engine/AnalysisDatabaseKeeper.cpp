#include "AnalysisDatabaseKeeper.h"

#include <sqlite3.h>

#include <filesystem>
#include <string_view>
#include <utility>

namespace {

/// How long the keeper's own statements wait for a builder run that holds a lock.
constexpr int busyTimeoutMs = 10'000;

/// Reads the schema (which opens the log and its index) and then asks for the journal mode.
bool isInLogMode(sqlite3 *db)
{
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr)
        != SQLITE_OK)
        return false;
    sqlite3_stmt *statement = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW) {
        const auto *mode = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        wal = mode && std::string_view(mode) == "wal";
    }
    sqlite3_finalize(statement);
    return wal;
}

} // namespace

AnalysisDatabaseKeeper::AnalysisDatabaseKeeper(std::string databaseFile)
    : m_databaseFile(std::move(databaseFile))
{}

AnalysisDatabaseKeeper::~AnalysisDatabaseKeeper()
{
    release();
}

void AnalysisDatabaseKeeper::holdIfPresent()
{
    if (m_db || m_databaseFile.empty())
        return;
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_databaseFile, error)
        || std::filesystem::file_size(m_databaseFile, error) == 0 || error)
        return;
    // Read and write: only a connection that may write the database file checkpoints the log
    // into it when it closes last. No CREATE: the builder makes the file with its own settings.
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(m_databaseFile.c_str(),
                        &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Reading the schema maps the log's index, which is what keeps the log alive between runs;
    // a file that is no database (or not yet one in write-ahead mode) is left alone.
    if (!isInLogMode(db)) {
        sqlite3_close(db);
        return;
    }
    m_db = db;
}

void AnalysisDatabaseKeeper::release()
{
    if (!m_db)
        return;
    sqlite3_close(m_db);
    m_db = nullptr;
}
