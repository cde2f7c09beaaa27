#include "DbUnitPacker.h"

DbUnitPacker::DbUnitPacker(std::size_t includes, std::size_t symbols, std::size_t nodes)
    : m_lastInclude(includes == 0 ? 0 : includes - 1)
    , m_symbols(symbols)
    , m_nodes(nodes)
{}

void DbUnitPacker::fail(
    const char *what, std::size_t owner, const char *field, std::uint64_t value, std::size_t limit)
{
    if (m_chunks.error.empty())
        m_chunks.error = std::string(what) + " " + std::to_string(owner) + " refers to " + field
                         + " " + std::to_string(value) + " of " + std::to_string(limit);
}

void DbUnitPacker::addLine(std::uint32_t include,
                           std::uint32_t line,
                           std::uint8_t kind,
                           std::string_view text)
{
    m_lines.push_back({include, line, text});
    check("line", m_lines.size(), "include", include, m_lastInclude);
    DbChunkCodec::encodeLine(include, line, kind, text, chunkFor(m_chunks.lines));
}

void DbUnitPacker::addToken(const DbChunkCodec::TokenFields &token)
{
    ++m_tokens;
    check("token", m_tokens, "type", token.type, 9);
    check("token", m_tokens, "include", token.include, m_lastInclude);
    check("token", m_tokens, "symbol", token.symbol, m_symbols);
    check("token", m_tokens, "node", token.node, m_nodes, true);
    check("token", m_tokens, "line", token.expandedLine, m_lines.size());
    if (m_chunks.tokens.empty() || m_chunks.tokens.back().count == DbChunkCodec::chunkSize)
        m_tokenState = {};
    const bool shown = token.expandedLine >= 1 && token.expandedLine <= m_lines.size();
    DbChunkCodec::encodeToken(token,
                              shown ? &m_lines[token.expandedLine - 1] : nullptr,
                              m_tokenState,
                              chunkFor(m_chunks.tokens));
}

void DbUnitPacker::addNode(std::uint8_t kind,
                           std::uint32_t parent,
                           std::uint32_t firstToken,
                           std::uint32_t lastToken,
                           std::uint32_t symbol,
                           std::uint32_t treeRecord,
                           std::string_view name)
{
    const std::size_t id = ++m_nodesAdded;
    if (id == 1 && (parent != 0 || kind != 0) && m_chunks.error.empty())
        m_chunks.error = "node 1 is not the unit's root node";
    if (id > 1 && (parent == 0 || parent >= id) && m_chunks.error.empty())
        m_chunks.error = "node " + std::to_string(id) + " has the parent " + std::to_string(parent)
                         + ", which does not come before it";
    check("node", id, "kind", kind, 6);
    check("node", id, "token", firstToken, m_tokens);
    check("node", id, "token", lastToken, m_tokens);
    check("node", id, "symbol", symbol, m_symbols);
    if (treeRecord > m_largestTreeRecord)
        m_largestTreeRecord = treeRecord;
    DbChunkCodec::encodeNode(kind,
                             parent,
                             firstToken,
                             lastToken,
                             symbol,
                             treeRecord,
                             name,
                             chunkFor(m_chunks.nodes));
}

DbWriter::Chunks DbUnitPacker::finish(std::size_t treeRecords)
{
    if (m_nodesAdded == 0 && m_chunks.error.empty())
        m_chunks.error = "node 1 is not the unit's root node";
    if (m_nodesAdded != m_nodes && m_chunks.error.empty())
        m_chunks.error = "the unit has " + std::to_string(m_nodesAdded) + " syntax nodes, not "
                         + std::to_string(m_nodes);
    check("node", m_nodesAdded, "tree record", m_largestTreeRecord, treeRecords);
    m_chunks.lineCount = m_lines.size();
    m_chunks.tokenCount = m_tokens;
    m_chunks.nodeCount = m_nodesAdded;
    return std::move(m_chunks);
}
