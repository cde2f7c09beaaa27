#include "DbWriter.h"

#include "DbChunkCodec.h"
#include "DbConnection.h"
#include "DbPu.h"
#include "DbSchema.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <chrono>

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
                                     "line_chunk"};

std::int64_t now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
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

void writeChunks(DbConnection &connection,
                 const char *table,
                 std::int64_t id,
                 const std::vector<DbWriter::Chunks::Chunk> &chunks)
{
    DbStatement insert(connection,
                       std::string("INSERT INTO ") + table
                           + " (pu_id, seq, count, data) VALUES (?, ?, ?, ?)");
    for (std::size_t seq = 0; seq < chunks.size(); ++seq) {
        insert.bind(1, id)
            .bind(2, static_cast<std::int64_t>(seq))
            .bind(3, static_cast<std::int64_t>(chunks[seq].count))
            .bindBlob(4, chunks[seq].data);
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

std::int64_t storeHeader(DbConnection &connection, const DbUnitData &unit, std::int64_t number)
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
        .bind(14, static_cast<std::int64_t>(unit.tokens.size()))
        .bind(15, static_cast<std::int64_t>(unit.symbols.size()))
        .bind(16, static_cast<std::int64_t>(unit.lines.size()))
        .bind(17, static_cast<std::int64_t>(unit.nodes.size()));
    if (id)
        store.bind(18, id);
    else if (numbered)
        store.bind(18, number);
    // Otherwise ?18 stays NULL: the next number after the highest ever given.
    store.run();
    if (!id)
        return connection.lastInsertId();
    for (const char *table : contentTables) {
        DbStatement erase(connection, std::string("DELETE FROM ") + table + " WHERE pu_id = ?");
        erase.bind(1, id);
        erase.run();
    }
    return id;
}

void storeRows(DbConnection &connection, std::int64_t id, const DbUnitData &unit)
{
    DbStatement file(connection,
                     "INSERT INTO input_file (pu_id, seq, path, kind, copybook) "
                     "VALUES (?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < unit.inputFiles.size(); ++i) {
        const DbInputFileRecord &f = unit.inputFiles[i];
        file.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, f.path);
        file.bind(4, static_cast<std::int64_t>(f.kind)).bind(5, f.copybook).run();
    }
    DbStatement include(connection,
                        "INSERT INTO pu_include (pu_id, seq, parent, input_file, copy_line, "
                        "copy_column, copybook, qualifier) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < unit.includes.size(); ++i) {
        const DbIncludeRecord &r = unit.includes[i];
        include.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, r.parent);
        include.bind(4, r.inputFile).bind(5, r.copyLine).bind(6, r.copyColumn);
        include.bind(7, r.copybook).bind(8, r.qualifier).run();
    }
    DbStatement symbol(connection,
                       "INSERT INTO symbol VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                       "?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, "
                       "?26, ?27, ?28, ?29)");
    for (std::size_t i = 0; i < unit.symbols.size(); ++i) {
        const DbSymbolRecord &s = unit.symbols[i];
        symbol.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, s.level);
        symbol.bind(4, s.name).bind(5, s.longName).bind(6, s.declaringToken);
        symbol.bind(7, s.parent).bind(8, s.record).bind(9, s.base);
        symbol.bind(10, s.related[0]).bind(11, s.related[1]).bind(12, s.related[2]);
        symbol.bind(13, s.group ? 1 : 0).bind(14, s.recordStart ? 1 : 0);
        symbol.bind(15, s.occursMin).bind(16, s.occursMax);
        symbol.bind(17, static_cast<std::int64_t>(s.offset));
        symbol.bind(18, static_cast<std::int64_t>(s.length));
        symbol.bind(19, s.displayText).bind(20, s.usage).bind(21, s.picture);
        symbol.bind(22, s.category).bind(23, s.value).bind(24, s.area);
        symbol.bind(25, s.isSigned ? 1 : 0).bind(26, s.signSeparate ? 1 : 0);
        symbol.bind(27, s.synchronized ? 1 : 0).bind(28, s.include).bind(29, s.line);
        symbol.run();
    }
    DbStatement tree(connection,
                     "INSERT INTO tree_record (pu_id, seq, kind, text, parent, node) "
                     "VALUES (?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < unit.treeRecords.size(); ++i) {
        const DbTreeRecord &r = unit.treeRecords[i];
        tree.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, r.kind);
        tree.bind(4, r.text).bind(5, r.parent).bind(6, r.node).run();
    }
    DbStatement mark(connection,
                     "INSERT INTO mark (pu_id, seq, kind, token, symbol, text) "
                     "VALUES (?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < unit.marks.size(); ++i) {
        const DbMarkRecord &m = unit.marks[i];
        mark.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, m.kind);
        mark.bind(4, m.token).bind(5, m.symbol).bind(6, m.text).run();
    }
    if (!unit.impact.empty()) {
        DbStatement impact(connection, "INSERT INTO impact (pu_id, program, data) VALUES (?, ?, ?)");
        impact.bind(1, id).bind(2, unit.impact.program).bindBlob(3, unit.impact.encode()).run();
    }
    DbStatement item(connection,
                     "INSERT INTO copybook_item VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                     "?11, ?12, ?13, ?14, ?15, ?16, ?17)");
    for (std::size_t i = 0; i < unit.copybookItems.size(); ++i) {
        const DbCopybookItemRecord &c = unit.copybookItems[i];
        item.bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, c.copybook);
        item.bind(4, c.qualifier).bind(5, c.level).bind(6, c.name).bind(7, c.parent);
        item.bind(8, c.base).bind(9, static_cast<std::int64_t>(c.offset));
        item.bind(10, static_cast<std::int64_t>(c.length)).bind(11, c.occursMax);
        item.bind(12, c.usage).bind(13, c.picture).bind(14, c.line);
        item.bind(15, c.varies ? 1 : 0).bind(16, c.synchronized ? 1 : 0).bind(17, c.dateText);
        item.run();
    }
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
    return chunks;
}

void DbWriter::record(const std::string &fileName,
                      const std::string &euName,
                      const DbUnitData &unit,
                      int waitMs,
                      const Chunks *chunks,
                      std::int64_t number)
{
    if (const std::string invalid = unit.validate(); !invalid.empty())
        ITHROW(
            KelMsgException(KelMsgId::unitNotRecorded,
                            {unit.header.name, fileName, "its data is inconsistent: " + invalid}));
    DbConnection connection(fileName, DbConnection::Mode::readWrite, waitMs);
    DbSchema::prepareForWriting(connection);

    DbTransaction transaction(connection, DbTransaction::Kind::write);
    const std::int64_t time = now();
    {
        DbStatement eu(connection,
                       "INSERT INTO eu (id, name, created, updated) VALUES (1, ?1, ?2, ?2) "
                       "ON CONFLICT (id) DO UPDATE SET name = excluded.name, "
                       "updated = excluded.updated");
        eu.bind(1, euName).bind(2, time).run();
    }
    const std::int64_t id = storeHeader(connection, unit, number);
    storeRows(connection, id, unit);
    const Chunks packed = chunks ? Chunks() : encode(unit);
    const Chunks &use = chunks ? *chunks : packed;
    writeChunks(connection, "line_chunk", id, use.lines);
    writeChunks(connection, "token_chunk", id, use.tokens);
    writeChunks(connection, "node_chunk", id, use.nodes);
    transaction.commit();
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
    for (const char *table : contentTables) {
        DbStatement erase(connection, std::string("DELETE FROM ") + table + " WHERE pu_id = ?");
        erase.bind(1, id);
        erase.run();
    }
    DbStatement erase(connection, "DELETE FROM pu WHERE id = ?");
    erase.bind(1, id);
    erase.run();
    transaction.commit();
    return true;
}
