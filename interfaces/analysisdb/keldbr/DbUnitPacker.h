#pragma once

#include "DbChunkCodec.h"
#include "DbWriter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Packs a unit's expanded source lines, tokens and syntax nodes one record at a time, in that
/// order, into the chunks DbWriter::record stores: the same bytes as DbWriter::encode gives for
/// a DbUnitData holding the same records, without ever holding those records. Each record is
/// checked as DbUnitData::validate checks it; the first inconsistency is kept in
/// `Chunks::error` and the writer refuses the unit.
///
/// Texts are views: a line's text must stay valid until the last token is added (tokens are
/// compared with the line they stand on).
class DbUnitPacker final
{
public:
    /// The counts the records refer to: include ids go up to `includes` - 1; symbols and syntax
    /// nodes are numbered from 1 to their count.
    DbUnitPacker(std::size_t includes, std::size_t symbols, std::size_t nodes);

    void addLine(std::uint32_t include,
                 std::uint32_t line,
                 std::uint8_t kind,
                 std::string_view text);
    void addToken(const DbChunkCodec::TokenFields &token);
    void addNode(std::uint8_t kind,
                 std::uint32_t parent,
                 std::uint32_t firstToken,
                 std::uint32_t lastToken,
                 std::uint32_t symbol,
                 std::uint32_t treeRecord,
                 std::string_view name);

    std::size_t lineCount() const { return m_lines.size(); }
    std::size_t tokenCount() const { return m_tokens; }

    /// The chunks; `treeRecords` is the unit's number of tree records, which nodes refer to.
    DbWriter::Chunks finish(std::size_t treeRecords);

private:
    /// Appends to the last chunk of `chunks`, or starts a new one when it is full.
    static std::string &chunkFor(std::vector<DbWriter::Chunks::Chunk> &chunks)
    {
        if (chunks.empty() || chunks.back().count == DbChunkCodec::chunkSize) [[unlikely]]
            chunks.emplace_back();
        ++chunks.back().count;
        return chunks.back().data;
    }
    void check(const char *what,
               std::size_t owner,
               const char *field,
               std::uint64_t value,
               std::size_t limit,
               bool required = false)
    {
        if (value > limit || (required && value == 0)) [[unlikely]]
            fail(what, owner, field, value, limit);
    }
    /// Keeps the first inconsistency found.
    [[gnu::noinline]] void fail(const char *what,
                                std::size_t owner,
                                const char *field,
                                std::uint64_t value,
                                std::size_t limit);

    std::size_t m_lastInclude = 0;
    std::size_t m_symbols = 0;
    std::size_t m_nodes = 0;
    std::vector<DbChunkCodec::LineView> m_lines;
    std::size_t m_tokens = 0;
    std::size_t m_nodesAdded = 0;
    std::uint32_t m_largestTreeRecord = 0;
    DbChunkCodec::TokenState m_tokenState;
    DbWriter::Chunks m_chunks;
};
