#pragma once

#include <string>

struct sqlite3;

/// Keeps one connection to the analysis database open while the builder runs record their
/// program units in it, and lets it go at the end of the analysis pass.
///
/// SQLite checkpoints a database's write-ahead log into the database file, syncs both and
/// deletes the log whenever the last connection to it closes. Every builder run is a process of
/// its own, so without a connection that outlives them each run pays for a checkpoint, two
/// syncs and a new log, which on a portfolio of small programs costs more than recording the
/// unit itself and makes concurrent runs wait on the disk. While the keeper holds its
/// connection the runs only append to the log (SQLite still checkpoints it as it grows); when
/// the keeper closes its connection last, the log is checkpointed and removed once, and the
/// database file alone holds everything again.
///
/// The keeper never changes the database's content and never fails the conversion: a file
/// that cannot be opened or read as a database is simply not held (the builder reports what is
/// wrong with it).
class AnalysisDatabaseKeeper final
{
public:
    /// `databaseFile` need not exist yet: the first builder run creates it.
    explicit AnalysisDatabaseKeeper(std::string databaseFile);
    ~AnalysisDatabaseKeeper();

    AnalysisDatabaseKeeper(const AnalysisDatabaseKeeper &) = delete;
    AnalysisDatabaseKeeper &operator=(const AnalysisDatabaseKeeper &) = delete;

    /// Opens the database and joins its write-ahead log, when the file exists and is not held
    /// yet. Cheap when it is held or still missing: call it after every builder run.
    void holdIfPresent();

    /// True while the connection is held.
    bool isHolding() const { return m_db != nullptr; }

    /// Closes the connection; the last one to close checkpoints the log into the file.
    void release();

private:
    std::string m_databaseFile;
    sqlite3 *m_db = nullptr;
};
