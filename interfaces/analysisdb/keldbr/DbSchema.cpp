#include "DbSchema.h"

#include "DbConnection.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <string>
#include <vector>

namespace {

const char *const createStatements = R"sql(
CREATE TABLE eu (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    name TEXT NOT NULL,
    created INTEGER NOT NULL,
    updated INTEGER NOT NULL);
CREATE TABLE pu (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT NOT NULL,
    source_file TEXT NOT NULL UNIQUE,
    expanded_source_file TEXT NOT NULL,
    dialect TEXT NOT NULL,
    language_code INTEGER NOT NULL,
    version INTEGER NOT NULL,
    release INTEGER NOT NULL,
    analyzed INTEGER NOT NULL,
    linkable INTEGER NOT NULL,
    state INTEGER NOT NULL,
    state_text TEXT NOT NULL,
    time_stamp INTEGER NOT NULL,
    code_page INTEGER NOT NULL,
    token_count INTEGER NOT NULL,
    symbol_count INTEGER NOT NULL,
    line_count INTEGER NOT NULL,
    node_count INTEGER NOT NULL);
CREATE TABLE input_file (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    path TEXT NOT NULL,
    kind INTEGER NOT NULL,
    copybook TEXT NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE TABLE pu_include (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    parent INTEGER NOT NULL,
    input_file INTEGER NOT NULL,
    copy_line INTEGER NOT NULL,
    copy_column INTEGER NOT NULL,
    copybook TEXT NOT NULL,
    qualifier TEXT NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE TABLE symbol (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    level INTEGER NOT NULL,
    name TEXT NOT NULL,
    long_name TEXT NOT NULL,
    declaring_token INTEGER NOT NULL,
    parent INTEGER NOT NULL,
    record INTEGER NOT NULL,
    base INTEGER NOT NULL,
    related_1 INTEGER NOT NULL,
    related_2 INTEGER NOT NULL,
    related_3 INTEGER NOT NULL,
    is_group INTEGER NOT NULL,
    record_start INTEGER NOT NULL,
    occurs_min INTEGER NOT NULL,
    occurs_max INTEGER NOT NULL,
    byte_offset INTEGER NOT NULL,
    length INTEGER NOT NULL,
    display_text TEXT NOT NULL,
    usage TEXT NOT NULL,
    picture TEXT NOT NULL,
    category TEXT NOT NULL,
    value TEXT NOT NULL,
    area TEXT NOT NULL,
    is_signed INTEGER NOT NULL,
    sign_separate INTEGER NOT NULL,
    synchronized INTEGER NOT NULL,
    include_id INTEGER NOT NULL,
    line INTEGER NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE TABLE tree_record (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    text TEXT NOT NULL,
    parent INTEGER NOT NULL,
    node INTEGER NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE TABLE mark (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    token INTEGER NOT NULL,
    symbol INTEGER NOT NULL,
    text TEXT NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE TABLE impact (
    pu_id INTEGER PRIMARY KEY,
    program TEXT NOT NULL,
    data BLOB NOT NULL);
CREATE TABLE copybook_item (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    copybook TEXT NOT NULL,
    qualifier TEXT NOT NULL,
    level INTEGER NOT NULL,
    name TEXT NOT NULL,
    parent INTEGER NOT NULL,
    base INTEGER NOT NULL,
    byte_offset INTEGER NOT NULL,
    length INTEGER NOT NULL,
    occurs_max INTEGER NOT NULL,
    usage TEXT NOT NULL,
    picture TEXT NOT NULL,
    line INTEGER NOT NULL,
    varies INTEGER NOT NULL,
    synchronized INTEGER NOT NULL,
    date_text TEXT NOT NULL,
    PRIMARY KEY (pu_id, seq)) WITHOUT ROWID;
CREATE INDEX copybook_item_name ON copybook_item (copybook);
CREATE TABLE token_chunk (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    count INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (pu_id, seq));
CREATE TABLE node_chunk (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    count INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (pu_id, seq));
CREATE TABLE line_chunk (
    pu_id INTEGER NOT NULL,
    seq INTEGER NOT NULL,
    count INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (pu_id, seq));
)sql";

// Added within version 2: no reader needs it, and a writer adds it to a file made before it.
const char *const createOriginTable = R"sql(
CREATE TABLE IF NOT EXISTS pu_origin (
    pu_id INTEGER PRIMARY KEY,
    key TEXT NOT NULL,
    findings_key TEXT NOT NULL,
    builder_data BLOB NOT NULL);
)sql";

std::int64_t tableCount(DbConnection &connection)
{
    return connection.integer("SELECT count(*) FROM sqlite_schema");
}

} // namespace

void DbSchema::checkForReading(DbConnection &connection)
{
    // Reading the header of a file that is no database at all fails here (SQLITE_NOTADB).
    const std::int64_t application = connection.integer("PRAGMA application_id");
    const std::int64_t found = connection.integer("PRAGMA user_version");
    if (application != applicationId) {
        ITHROW(KelMsgException(KelMsgId::notAnAnalysisDatabase,
                               {connection.fileName(),
                                tableCount(connection) == 0
                                    ? std::string("it is empty")
                                    : "it is an SQLite database of another application"}));
    }
    if (found > version)
        ITHROW(KelMsgException(KelMsgId::schemaTooNew,
                               {connection.fileName(),
                                std::to_string(found),
                                std::to_string(version)}));
    if (found < version)
        ITHROW(KelMsgException(KelMsgId::schemaTooOld,
                               {connection.fileName(),
                                std::to_string(found),
                                std::to_string(version)}));
}

void DbSchema::prepareForWriting(DbConnection &connection)
{
    // WAL lets views read while units are recorded; it stays set in the file. NORMAL
    // synchronisation in WAL mode keeps the file consistent on a crash (a power cut may lose
    // the last units recorded, never half of one).
    // Several builders may open a new file at once; the switch to WAL does not wait for the
    // others' locks by itself.
    // A new file takes large pages: a unit's chunks then fill fewer pages, each logged and
    // checksummed once (no effect on an existing file).
    connection.execute("PRAGMA page_size=16384");
    connection.executeWaiting("PRAGMA journal_mode=WAL");
    connection.execute("PRAGMA synchronous=NORMAL");
    if (connection.integer("PRAGMA application_id") == applicationId
        && connection.integer("PRAGMA user_version") == version) {
        connection.execute(createOriginTable);
        return;
    }

    DbTransaction transaction(connection, DbTransaction::Kind::write);
    // Another writer may have set the file up while this one waited for the lock.
    const std::int64_t application = connection.integer("PRAGMA application_id");
    const std::int64_t found = connection.integer("PRAGMA user_version");
    if (application == applicationId && found == version) {
        connection.execute(createOriginTable);
        transaction.commit();
        return;
    }
    if (application == 0 && found == 0 && tableCount(connection) == 0) {
        create(connection);
    } else if (application != applicationId) {
        ITHROW(KelMsgException(KelMsgId::notAnAnalysisDatabase,
                               {connection.fileName(),
                                "it is an SQLite database of another application"}));
    } else if (found > version) {
        ITHROW(KelMsgException(KelMsgId::schemaTooNew,
                               {connection.fileName(),
                                std::to_string(found),
                                std::to_string(version)}));
    } else {
        dropAll(connection);
        create(connection);
    }
    transaction.commit();
}

void DbSchema::create(DbConnection &connection)
{
    connection.execute(createStatements);
    connection.execute(createOriginTable);
    connection.execute("PRAGMA application_id=" + std::to_string(applicationId));
    connection.execute("PRAGMA user_version=" + std::to_string(version));
}

void DbSchema::dropAll(DbConnection &connection)
{
    std::vector<std::string> names;
    {
        DbStatement tables(connection,
                           "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT "
                           "LIKE 'sqlite_%'");
        while (tables.step())
            names.push_back(tables.text(0));
    }
    for (std::string name : names) {
        for (std::size_t at = name.find('"'); at != std::string::npos; at = name.find('"', at + 2))
            name.insert(at, 1, '"');
        connection.execute("DROP TABLE \"" + name + "\"");
    }
}
