#pragma once

#include <cstdint>

class DbConnection;

/// The tables of an analysis database and their version (interfaces/analysisdb/README.md
/// describes them). The version is the database's `PRAGMA user_version`; `PRAGMA
/// application_id` marks the file as an analysis database.
class DbSchema final
{
public:
    /// 2 added the impact facts of each unit and the layouts of its copybooks.
    static constexpr std::int64_t version = 2;
    /// "KELD" as a 32-bit number.
    static constexpr std::int64_t applicationId = 0x4B454C44;

    /// Checks that the file behind a read connection is an analysis database of this version.
    /// Throws KelMsgException: not an analysis database (another SQLite file, a damaged file,
    /// a file of another kind), schema too new, schema too old.
    static void checkForReading(DbConnection &connection);

    /// Prepares the file behind a write connection: WAL mode, and the tables when the file is
    /// new. A database of an older schema is emptied and set up anew (it holds only what a
    /// conversion can record again); one of a newer schema, or a file that is not an analysis
    /// database, is left alone and throws KelMsgException.
    static void prepareForWriting(DbConnection &connection);

private:
    static void create(DbConnection &connection);
    static void dropAll(DbConnection &connection);
};
