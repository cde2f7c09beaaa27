#include "DbWriter.h"

#include "DbChunkCodec.h"
#include "DbConnection.h"
#include "DbPu.h"
#include "DbSchema.h"
#include "KelMsg.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace {

const char *const contentTables[] = {"input_file",
                                     "pu_include",
                                     "symbol",
                                     "tree_record",
                                     "mark",
                                     "impact",
                                     "copybook_item",
                                     "token_chunk",
                                     "node_chunk",
                                     "line_chunk",
                                     "pu_origin"};

std::int64_t now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

/// Removes the rows of `table` that belong to unit `id`.
void eraseRows(DbConnection &connection, const char *table, std::int64_t id)
{
    DbStatement erase(connection, std::string("DELETE FROM ") + table + " WHERE pu_id = ?");
    erase.bind(1, id);
    erase.run();
}

/// Packs `records` in chunks; `encode(first, end, blob)` packs one.
template<typename Record, typename Encode>
std::vector<DbWriter::Chunks::Chunk> pack(const std::vector<Record> &records, Encode encode)
{
    std::vector<DbWriter::Chunks::Chunk> chunks;
    for (std::size_t first = 0; first < records.size(); first += DbChunkCodec::chunkSize) {
        const std::size_t end = std::min(records.size(), first + DbChunkCodec::chunkSize);
        DbWriter::Chunks::Chunk &chunk = chunks.emplace_back();
        chunk.count = end - first;
        encode(first, end, chunk.data);
    }
    return chunks;
}

/// Writes list `list` of `all` (0 lines, 1 tokens, 2 nodes) into `table`. Throws
/// KelMsgException naming `fileName` and the unit when a chunk cannot be loaded.
void writeChunks(DbConnection &connection,
                 const char *table,
                 std::int64_t id,
                 const DbWriter::Chunks &all,
                 int list,
                 const std::string &fileName,
                 const std::string &unitName)
{
    const std::vector<DbWriter::Chunks::Chunk> &chunks = list == 0   ? all.lines
                                                         : list == 1 ? all.tokens
                                                                     : all.nodes;
    DbStatement insert(connection,
                       std::string("INSERT INTO ") + table
                           + " (pu_id, seq, count, data) VALUES (?, ?, ?, ?)");
    std::string loaded;
    for (std::size_t seq = 0; seq < chunks.size(); ++seq) {
        const std::string *data = &chunks[seq].data;
        if (data->empty() && all.load) {
            std::string error;
            if (!all.load(list, seq, loaded, error))
                ITHROW(KelMsgException(KelMsgId::unitNotRecorded, {unitName, fileName, error}));
            data = &loaded;
        }
        insert.bind(1, id)
            .bind(2, static_cast<std::int64_t>(seq))
            .bind(3, static_cast<std::int64_t>(chunks[seq].count))
            .bindBlobInPlace(4, *data);
        insert.run();
    }
}

/// True when no unit has the number `id`.
bool isFreeNumber(DbConnection &connection, std::int64_t id)
{
    DbStatement find(connection, "SELECT 1 FROM pu WHERE id = ?");
    find.bind(1, id);
    return !find.step();
}

std::int64_t storeHeader(DbConnection &connection,
                         const DbUnitData &unit,
                         const DbWriter::Chunks &chunks,
                         std::int64_t number)
{
    const DbUnitHeader &h = unit.header;
    std::int64_t id = 0;
    {
        DbStatement find(connection, "SELECT id FROM pu WHERE source_file = ?");
        find.bind(1, h.sourceFile);
        if (find.step())
            id = find.integer(0);
    }
    // A new unit takes the number asked for while it is free (the caller numbers its units in
    // an order of its own, whatever order they are recorded in), else the next one.
    const bool numbered = !id && number > 0 && isFreeNumber(connection, number);
    // A unit recorded again keeps its row, and so its number in the execution unit.
    DbStatement store(connection,
                      id ? "UPDATE pu SET name = ?1, source_file = ?2, expanded_source_file = ?3, "
                           "dialect = ?4, language_code = ?5, version = ?6, release = ?7, "
                           "analyzed = ?8, linkable = ?9, state = ?10, state_text = ?11, "
                           "time_stamp = ?12, code_page = ?13, token_count = ?14, "
                           "symbol_count = ?15, line_count = ?16, node_count = ?17 WHERE id = ?18"
                         : "INSERT INTO pu (name, source_file, expanded_source_file, dialect, "
                           "language_code, version, release, analyzed, linkable, state, "
                           "state_text, time_stamp, code_page, token_count, symbol_count, "
                           "line_count, node_count, id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
                           "?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18)");
    store.bind(1, h.name)
        .bind(2, h.sourceFile)
        .bind(3, h.expandedSourceFile)
        .bind(4, h.dialect)
        .bind(5, h.languageCode)
        .bind(6, h.version)
        .bind(7, h.release)
        .bind(8, h.analyzed ? 1 : 0)
        .bind(9, h.linkable ? 1 : 0)
        .bind(10, static_cast<std::int64_t>(h.state))
        .bind(11, DbPu::toIString(h.state))
        .bind(12, h.timeStamp)
        .bind(13, h.codePage)
        .bind(14, static_cast<std::int64_t>(chunks.tokenCount))
        .bind(15, static_cast<std::int64_t>(unit.symbols.size()))
        .bind(16, static_cast<std::int64_t>(chunks.lineCount))
        .bind(17, static_cast<std::int64_t>(chunks.nodeCount));
    if (id)
        store.bind(18, id);
    else if (numbered)
        store.bind(18, number);
    // Otherwise ?18 stays NULL: the next number after the highest ever given.
    store.run();
    if (!id)
        return connection.lastInsertId();
    for (const char *table : contentTables)
        eraseRows(connection, table, id);
    return id;
}

/// Inserts `count` rows into `table`, many rows to a statement: SQLite's cost is mostly per
/// statement run, so a unit with thousands of marks costs a few dozen runs, not thousands. A
/// table of few rows (all of a small unit's) and the rows left over go through a one-row
/// statement run once per row: parsing a statement of many rows costs about as much as a
/// hundred runs, so it pays only when it is run several times.
/// `bindRow(statement, first parameter, row)` binds one row's `columns` values from `first`.
template<typename BindRow>
void insertRows(
    DbConnection &connection, const char *table, int columns, std::size_t count, BindRow bindRow)
{
    // Well below SQLite's limit on parameters (32766) even for the widest table.
    constexpr std::size_t rowsPerStatement = 64;
    auto sql = [&](std::size_t rows) {
        std::string row = "(?";
        for (int c = 1; c < columns; ++c)
            row += ", ?";
        row += ")";
        std::string text = std::string("INSERT INTO ") + table + " VALUES " + row;
        for (std::size_t r = 1; r < rows; ++r)
            text += ", " + row;
        return text;
    };
    constexpr std::size_t fewestRowsForBatches = 8 * rowsPerStatement;
    std::size_t done = 0;
    if (count >= fewestRowsForBatches) {
        DbStatement full(connection, sql(rowsPerStatement));
        for (; count - done >= rowsPerStatement; done += rowsPerStatement) {
            for (std::size_t r = 0; r < rowsPerStatement; ++r)
                bindRow(full, static_cast<int>(r) * columns + 1, done + r);
            full.run();
        }
    }
    if (done < count) {
        DbStatement one(connection, sql(1));
        for (; done < count; ++done) {
            bindRow(one, 1, done);
            one.run();
        }
    }
}

void storeMarks(DbConnection &connection, std::int64_t id, const std::vector<DbMarkRecord> &marks)
{
    insertRows(connection,
               "mark (pu_id, seq, kind, token, symbol, text)",
               6,
               marks.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbMarkRecord &m = marks[i];
                   s.bind(p, id).bind(p + 1, static_cast<std::int64_t>(i)).bind(p + 2, m.kind);
                   s.bind(p + 3, m.token).bind(p + 4, m.symbol).bind(p + 5, m.text);
               });
}

void storeCopybookItems(DbConnection &connection,
                        std::int64_t id,
                        const std::vector<DbCopybookItemRecord> &items)
{
    insertRows(connection,
               "copybook_item",
               17,
               items.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbCopybookItemRecord &c = items[i];
                   s.bind(p, id).bind(p + 1, static_cast<std::int64_t>(i)).bind(p + 2, c.copybook);
                   s.bind(p + 3, c.qualifier).bind(p + 4, c.level).bind(p + 5, c.name);
                   s.bind(p + 6, c.parent).bind(p + 7, c.base);
                   s.bind(p + 8, static_cast<std::int64_t>(c.offset));
                   s.bind(p + 9, static_cast<std::int64_t>(c.length)).bind(p + 10, c.occursMax);
                   s.bind(p + 11, c.usage).bind(p + 12, c.picture).bind(p + 13, c.line);
                   s.bind(p + 14, c.varies ? 1 : 0).bind(p + 15, c.synchronized ? 1 : 0);
                   s.bind(p + 16, c.dateText);
               });
}

void storeRows(DbConnection &connection, std::int64_t id, const DbUnitData &unit)
{
    const auto seq = [](std::size_t i) { return static_cast<std::int64_t>(i); };
    insertRows(connection,
               "input_file (pu_id, seq, path, kind, copybook)",
               5,
               unit.inputFiles.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbInputFileRecord &f = unit.inputFiles[i];
                   s.bind(p, id).bind(p + 1, seq(i)).bind(p + 2, f.path);
                   s.bind(p + 3, static_cast<std::int64_t>(f.kind)).bind(p + 4, f.copybook);
               });
    insertRows(connection,
               "pu_include (pu_id, seq, parent, input_file, copy_line, copy_column, copybook, "
               "qualifier)",
               8,
               unit.includes.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbIncludeRecord &r = unit.includes[i];
                   s.bind(p, id).bind(p + 1, seq(i)).bind(p + 2, r.parent);
                   s.bind(p + 3, r.inputFile).bind(p + 4, r.copyLine).bind(p + 5, r.copyColumn);
                   s.bind(p + 6, r.copybook).bind(p + 7, r.qualifier);
               });
    insertRows(connection,
               "symbol",
               29,
               unit.symbols.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbSymbolRecord &r = unit.symbols[i];
                   s.bind(p, id).bind(p + 1, seq(i)).bind(p + 2, r.level);
                   s.bind(p + 3, r.name).bind(p + 4, r.longName).bind(p + 5, r.declaringToken);
                   s.bind(p + 6, r.parent).bind(p + 7, r.record).bind(p + 8, r.base);
                   s.bind(p + 9, r.related[0]).bind(p + 10, r.related[1]);
                   s.bind(p + 11, r.related[2]);
                   s.bind(p + 12, r.group ? 1 : 0).bind(p + 13, r.recordStart ? 1 : 0);
                   s.bind(p + 14, r.occursMin).bind(p + 15, r.occursMax);
                   s.bind(p + 16, static_cast<std::int64_t>(r.offset));
                   s.bind(p + 17, static_cast<std::int64_t>(r.length));
                   s.bind(p + 18, r.displayText).bind(p + 19, r.usage).bind(p + 20, r.picture);
                   s.bind(p + 21, r.category).bind(p + 22, r.value).bind(p + 23, r.area);
                   s.bind(p + 24, r.isSigned ? 1 : 0).bind(p + 25, r.signSeparate ? 1 : 0);
                   s.bind(p + 26, r.synchronized ? 1 : 0).bind(p + 27, r.include);
                   s.bind(p + 28, r.line);
               });
    insertRows(connection,
               "tree_record (pu_id, seq, kind, text, parent, node)",
               6,
               unit.treeRecords.size(),
               [&](DbStatement &s, int p, std::size_t i) {
                   const DbTreeRecord &r = unit.treeRecords[i];
                   s.bind(p, id).bind(p + 1, seq(i)).bind(p + 2, r.kind);
                   s.bind(p + 3, r.text).bind(p + 4, r.parent).bind(p + 5, r.node);
               });
    storeMarks(connection, id, unit.marks);
    if (!unit.packedImpact.empty()) {
        DbStatement impact(connection,
                           "INSERT INTO impact (pu_id, program, data) VALUES (?, ?, ?)");
        impact.bind(1, id).bind(2, unit.packedImpactProgram).bindBlobInPlace(3, unit.packedImpact);
        impact.run();
    } else if (!unit.impact.empty()) {
        const std::string data = unit.impact.encode();
        DbStatement impact(connection,
                           "INSERT INTO impact (pu_id, program, data) VALUES (?, ?, ?)");
        impact.bind(1, id).bind(2, unit.impact.program).bindBlobInPlace(3, data).run();
    }
    storeCopybookItems(connection, id, unit.copybookItems);
    if (!unit.origin.key.empty()) {
        DbStatement origin(connection,
                           "INSERT INTO pu_origin (pu_id, key, findings_key, builder_data) "
                           "VALUES (?, ?, ?, ?)");
        origin.bind(1, id).bind(2, unit.origin.key).bind(3, unit.origin.findingsKey);
        origin.bindBlobInPlace(4, unit.origin.builderData).run();
    }
}

/// Sets a write connection up for recording units.
void prepareConnection(DbConnection &connection)
{
    DbSchema::prepareForWriting(connection);
    // A unit's rows are appended in key order, so pages spilled to the log before the commit
    // are not written again: a small page cache does.
    connection.execute("PRAGMA cache_size=-4096");
    // Replacing a unit deletes many rows in one statement, for which SQLite keeps a statement
    // journal; in memory it costs no file made and removed on every run.
    connection.execute("PRAGMA temp_store=MEMORY");
    // The pages the replaced unit frees are taken at once by the new unit's rows. Debian's
    // SQLite zeroes freed pages by default, which writes each of them twice (zeros, then the
    // new rows): deleted rows are cleared only where their page is written anyway.
    connection.execute("PRAGMA secure_delete=FAST");
}

/// The execution unit takes the name `euName`; made when the file has none.
void storeExecutionUnit(DbConnection &connection, const std::string &euName)
{
    DbStatement eu(connection,
                   "INSERT INTO eu (id, name, created, updated) VALUES (1, ?1, ?2, ?2) "
                   "ON CONFLICT (id) DO UPDATE SET name = excluded.name, "
                   "updated = excluded.updated");
    eu.bind(1, euName).bind(2, now()).run();
}

} // namespace

DbWriter::Chunks DbWriter::encode(const DbUnitData &unit)
{
    Chunks chunks;
    chunks.lines = pack(unit.lines, [&](std::size_t first, std::size_t end, std::string &blob) {
        for (std::size_t i = first; i < end; ++i)
            DbChunkCodec::encode(unit.lines[i], blob);
    });
    chunks.tokens = pack(unit.tokens, [&](std::size_t first, std::size_t end, std::string &blob) {
        DbChunkCodec::encodeTokens(unit.tokens, first, end, unit.lines, blob);
    });
    chunks.nodes = pack(unit.nodes, [&](std::size_t first, std::size_t end, std::string &blob) {
        for (std::size_t i = first; i < end; ++i)
            DbChunkCodec::encode(unit.nodes[i], blob);
    });
    chunks.lineCount = unit.lines.size();
    chunks.tokenCount = unit.tokens.size();
    chunks.nodeCount = unit.nodes.size();
    return chunks;
}

void DbWriter::record(const std::string &fileName,
                      const std::string &euName,
                      const DbUnitData &unit,
                      int waitMs,
                      const Chunks *chunks,
                      std::int64_t number)
{
    const Chunks packed = chunks ? Chunks() : encode(unit);
    const Chunks &use = chunks ? *chunks : packed;
    const std::string invalid = !chunks              ? unit.validate()
                                : !use.error.empty() ? use.error
                                                     : unit.validateRows(use.tokenCount,
                                                                         use.lineCount,
                                                                         use.nodeCount);
    if (!invalid.empty())
        ITHROW(
            KelMsgException(KelMsgId::unitNotRecorded,
                            {unit.header.name, fileName, "its data is inconsistent: " + invalid}));
    DbConnection connection(fileName, DbConnection::Mode::readWrite, waitMs);
    prepareConnection(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::write);
    storeExecutionUnit(connection, euName);
    const std::int64_t id = storeHeader(connection, unit, use, number);
    storeRows(connection, id, unit);
    writeChunks(connection, "line_chunk", id, use, 0, fileName, unit.header.name);
    writeChunks(connection, "token_chunk", id, use, 1, fileName, unit.header.name);
    writeChunks(connection, "node_chunk", id, use, 2, fileName, unit.header.name);
    transaction.commit();
}

DbWriter::RecordedUnit::~RecordedUnit() = default;

std::unique_ptr<DbWriter::RecordedUnit> DbWriter::recordedUnit(const std::string &fileName,
                                                               const std::string &sourceFile,
                                                               int waitMs) noexcept
{
    try {
        std::error_code error;
        if (!std::filesystem::is_regular_file(fileName, error))
            return nullptr;
        std::unique_ptr<RecordedUnit> unit(new RecordedUnit());
        unit->m_connection = std::make_unique<DbConnection>(fileName,
                                                            DbConnection::Mode::readWrite,
                                                            waitMs);
        DbSchema::checkForReading(*unit->m_connection);
        DbStatement find(*unit->m_connection,
                         "SELECT o.key, o.findings_key, o.builder_data FROM pu p "
                         "JOIN pu_origin o ON o.pu_id = p.id WHERE p.source_file = ?");
        find.bind(1, sourceFile);
        if (!find.step())
            return nullptr;
        unit->m_origin.key = find.text(0);
        unit->m_origin.findingsKey = find.text(1);
        unit->m_origin.builderData = std::string(find.blob(2));
        return unit;
    } catch (...) {
        // Whatever is wrong with the file, recording the unit whole reports it.
        KelMsg::clearPending();
        return nullptr;
    }
}

bool DbWriter::refresh(const std::string &fileName,
                       const std::string &euName,
                       const Refresh &refresh,
                       int waitMs)
{
    DbConnection connection(fileName, DbConnection::Mode::readWrite, waitMs);
    return refreshThrough(connection, euName, refresh);
}

bool DbWriter::RecordedUnit::refresh(const std::string &euName, const Refresh &refresh)
{
    return DbWriter::refreshThrough(*m_connection, euName, refresh);
}

bool DbWriter::refreshThrough(DbConnection &connection,
                              const std::string &euName,
                              const Refresh &refresh)
{
    prepareConnection(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::write);
    // Checked under the write lock: another writer may have recorded the unit since.
    std::int64_t id = 0;
    std::string name;
    DbUnitData changes;
    std::size_t tokenCount = 0, symbolCount = 0;
    bool sameFindings = false;
    {
        DbStatement find(connection,
                         "SELECT p.id, o.key, p.token_count, p.symbol_count, p.name, "
                         "o.findings_key FROM pu p JOIN pu_origin o ON o.pu_id = p.id "
                         "WHERE p.source_file = ?");
        find.bind(1, refresh.sourceFile);
        if (!find.step() || find.text(1) != refresh.originKey)
            return false;
        id = find.integer(0);
        tokenCount = static_cast<std::size_t>(std::max<std::int64_t>(0, find.integer(2)));
        symbolCount = static_cast<std::size_t>(std::max<std::int64_t>(0, find.integer(3)));
        name = find.text(4);
        sameFindings = !refresh.findingsKey.empty() && find.text(5) == refresh.findingsKey;
    }
    changes.marks = refresh.marks;
    if (const std::string invalid = changes.validateMarks(tokenCount, symbolCount);
        !invalid.empty())
        ITHROW(
            KelMsgException(KelMsgId::unitNotRecorded,
                            {name, connection.fileName(), "its data is inconsistent: " + invalid}));
    storeExecutionUnit(connection, euName);
    {
        DbStatement
            store(connection,
                  "UPDATE pu SET state = ?1, state_text = ?2, time_stamp = ?3 WHERE id = ?4");
        store.bind(1, static_cast<std::int64_t>(refresh.state))
            .bind(2, DbPu::toIString(refresh.state))
            .bind(3, refresh.timeStamp)
            .bind(4, id)
            .run();
    }
    if (!sameFindings) {
        eraseRows(connection, "mark", id);
        eraseRows(connection, "copybook_item", id);
        storeMarks(connection, id, refresh.marks);
        storeCopybookItems(connection, id, refresh.copybookItems);
        DbStatement origin(connection, "UPDATE pu_origin SET findings_key = ? WHERE pu_id = ?");
        origin.bind(1, refresh.findingsKey).bind(2, id).run();
    }
    transaction.commit();
    return true;
}

bool DbWriter::remove(const std::string &fileName, const std::string &sourceFile)
{
    DbConnection connection(fileName, DbConnection::Mode::readWrite, busyTimeoutMs);
    DbSchema::prepareForWriting(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::write);
    std::int64_t id = 0;
    {
        DbStatement find(connection, "SELECT id FROM pu WHERE source_file = ?");
        find.bind(1, sourceFile);
        if (find.step())
            id = find.integer(0);
    }
    if (!id)
        return false;
    for (const char *table : contentTables)
        eraseRows(connection, table, id);
    DbStatement erase(connection, "DELETE FROM pu WHERE id = ?");
    erase.bind(1, id);
    erase.run();
    transaction.commit();
    return true;
}
