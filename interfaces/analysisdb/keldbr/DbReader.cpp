#include "DbReader.h"

#include "DbChunkCodec.h"
#include "DbConnection.h"
#include "DbSchema.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

namespace {

const char *const headerColumns
    = "id, name, source_file, expanded_source_file, dialect, language_code, version, release, "
      "analyzed, linkable, state, time_stamp, code_page, token_count, symbol_count, line_count";

DbUnitHeader headerFrom(const DbStatement &row)
{
    DbUnitHeader h;
    h.name = row.text(1);
    h.sourceFile = row.text(2);
    h.expandedSourceFile = row.text(3);
    h.dialect = row.text(4);
    h.languageCode = static_cast<std::uint32_t>(row.integer(5));
    h.version = static_cast<std::uint32_t>(row.integer(6));
    h.release = static_cast<std::uint32_t>(row.integer(7));
    h.analyzed = row.integer(8) != 0;
    h.linkable = row.integer(9) != 0;
    const std::int64_t state = row.integer(10);
    h.state = state >= 0 && state <= 2 ? static_cast<DbPuState>(state)
                                       : DbPuState::analyzedWithErrors;
    h.timeStamp = row.integer(11);
    h.codePage = static_cast<std::uint32_t>(row.integer(12));
    h.tokenCount = static_cast<std::uint32_t>(row.integer(13));
    h.symbolCount = static_cast<std::uint32_t>(row.integer(14));
    h.lineCount = static_cast<std::uint32_t>(row.integer(15));
    return h;
}

// Out-of-range values become the largest value, which the unit's validation then rejects,
// instead of wrapping around into a plausible one.
std::uint32_t u32(const DbStatement &row, int column)
{
    const std::int64_t value = row.integer(column);
    return value < 0 || value > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

std::uint8_t u8(const DbStatement &row, int column)
{
    const std::int64_t value = row.integer(column);
    return value < 0 || value > 0xFF ? 0xFF : static_cast<std::uint8_t>(value);
}

/// Reads the chunks of `table` in order; `decode(blob, count)` unpacks one.
template<typename Decode>
void readChunkTable(DbConnection &connection,
                    const char *table,
                    std::int64_t id,
                    const std::string &what,
                    Decode decode)
{
    DbStatement chunks(connection,
                       std::string("SELECT seq, count, data FROM ") + table
                           + " WHERE pu_id = ? ORDER BY seq");
    chunks.bind(1, id);
    std::int64_t expected = 0;
    while (chunks.step()) {
        const std::int64_t count = chunks.integer(1);
        if (chunks.integer(0) != expected || count < 0
            || !decode(chunks.blob(2), static_cast<std::size_t>(count)))
            ITHROW(KelMsgException(KelMsgId::databaseDamaged,
                                   {connection.fileName(),
                                    "chunk " + std::to_string(expected) + " of the " + what
                                        + " is damaged"}));
        ++expected;
    }
}

} // namespace

DbReader::EuContents DbReader::readEu(const std::string &fileName)
{
    DbConnection connection(fileName, DbConnection::Mode::readOnly, busyTimeoutMs);
    DbSchema::checkForReading(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::read);
    EuContents contents;
    {
        DbStatement eu(connection, "SELECT name FROM eu WHERE id = 1");
        if (eu.step())
            contents.name = eu.text(0);
    }
    DbStatement units(connection, std::string("SELECT ") + headerColumns + " FROM pu ORDER BY id");
    while (units.step()) {
        contents.databaseIds.push_back(units.integer(0));
        contents.units.push_back(headerFrom(units));
    }
    transaction.commit();
    return contents;
}

DbUnitData DbReader::readUnit(const std::string &fileName,
                              std::int64_t databaseId,
                              const std::string &unitName)
{
    DbConnection connection(fileName, DbConnection::Mode::readOnly, busyTimeoutMs);
    DbSchema::checkForReading(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::read);
    DbUnitData unit;
    {
        DbStatement header(connection,
                           std::string("SELECT ") + headerColumns + " FROM pu WHERE id = ?");
        header.bind(1, databaseId);
        if (!header.step())
            ITHROW(KelMsgException(KelMsgId::unitGone, {unitName, fileName}));
        unit.header = headerFrom(header);
    }
    readRows(connection, databaseId, unit);
    readChunks(connection, databaseId, unit);
    transaction.commit();
    return unit;
}

void DbReader::readChunks(DbConnection &connection, std::int64_t id, DbUnitData &unit)
{
    // Lines first: tokens take their texts and places from them.
    readChunkTable(connection, "line_chunk", id, "expanded source", [&](auto blob, auto count) {
        return DbChunkCodec::decode(blob, count, unit.lines);
    });
    unit.tokens.reserve(unit.header.tokenCount);
    readChunkTable(connection, "token_chunk", id, "tokens", [&](auto blob, auto count) {
        return DbChunkCodec::decodeTokens(blob, count, unit.lines, unit.tokens);
    });
    readChunkTable(connection, "node_chunk", id, "syntax nodes", [&](auto blob, auto count) {
        return DbChunkCodec::decode(blob, count, unit.nodes);
    });
}

void DbReader::readRows(DbConnection &connection, std::int64_t id, DbUnitData &unit)
{
    DbStatement files(connection,
                      "SELECT path, kind, copybook FROM input_file WHERE pu_id = ? ORDER BY seq");
    files.bind(1, id);
    while (files.step())
        unit.inputFiles.push_back({files.text(0),
                                   files.integer(1) == 0 ? DbInputFileRecord::sourceFile
                                                         : DbInputFileRecord::copybookFile,
                                   files.text(2)});

    DbStatement includes(connection,
                         "SELECT parent, input_file, copy_line, copy_column, copybook, qualifier "
                         "FROM pu_include WHERE pu_id = ? ORDER BY seq");
    includes.bind(1, id);
    while (includes.step())
        unit.includes.push_back({u32(includes, 0),
                                 u32(includes, 1),
                                 u32(includes, 2),
                                 u32(includes, 3),
                                 includes.text(4),
                                 includes.text(5)});

    DbStatement symbols(connection,
                        "SELECT level, name, long_name, declaring_token, parent, record, base, "
                        "related_1, related_2, related_3, is_group, record_start, occurs_min, "
                        "occurs_max, byte_offset, length, display_text, usage, picture, "
                        "category, value, area, is_signed, sign_separate, synchronized, "
                        "include_id, line FROM symbol WHERE pu_id = ? ORDER BY seq");
    symbols.bind(1, id);
    unit.symbols.reserve(unit.header.symbolCount);
    while (symbols.step()) {
        DbSymbolRecord &s = unit.symbols.emplace_back();
        s.level = u32(symbols, 0);
        s.name = symbols.text(1);
        s.longName = symbols.text(2);
        s.declaringToken = u32(symbols, 3);
        s.parent = u32(symbols, 4);
        s.record = u32(symbols, 5);
        s.base = u32(symbols, 6);
        for (int r = 0; r < 3; ++r)
            s.related[r] = u32(symbols, 7 + r);
        s.group = symbols.integer(10) != 0;
        s.recordStart = symbols.integer(11) != 0;
        s.occursMin = u32(symbols, 12);
        s.occursMax = u32(symbols, 13);
        s.offset = static_cast<std::uint64_t>(symbols.integer(14));
        s.length = static_cast<std::uint64_t>(symbols.integer(15));
        s.displayText = symbols.text(16);
        s.usage = symbols.text(17);
        s.picture = symbols.text(18);
        s.category = symbols.text(19);
        s.value = symbols.text(20);
        s.area = symbols.text(21);
        s.isSigned = symbols.integer(22) != 0;
        s.signSeparate = symbols.integer(23) != 0;
        s.synchronized = symbols.integer(24) != 0;
        s.include = u32(symbols, 25);
        s.line = u32(symbols, 26);
    }

    DbStatement
        tree(connection,
             "SELECT kind, text, parent, node FROM tree_record WHERE pu_id = ? ORDER BY seq");
    tree.bind(1, id);
    while (tree.step())
        unit.treeRecords.push_back({u8(tree, 0), tree.text(1), u32(tree, 2), u32(tree, 3)});

    DbStatement marks(connection,
                      "SELECT kind, token, symbol, text FROM mark WHERE pu_id = ? ORDER BY seq");
    marks.bind(1, id);
    while (marks.step())
        unit.marks.push_back({u8(marks, 0), u32(marks, 1), u32(marks, 2), marks.text(3)});
}
