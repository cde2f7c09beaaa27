#pragma once

#include "AnalysisData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cobol {

/// The syntax structure of a parsed program over its tokens: the program, its divisions, the
/// sections of the data and procedure divisions, the data description entries (subordinate
/// entries inside their group), paragraphs, sentences and statements (a conditional statement
/// holds the statements it runs: IF, EVALUATE, SEARCH, an inline PERFORM, and a statement with
/// AT END, INVALID KEY, ON SIZE ERROR, ON EXCEPTION or ON OVERFLOW phrases).
///
/// Built from the analysis data (tokens with their roles, items, divisions, sections and
/// paragraphs), so it needs nothing the ".adt" file does not carry. Every token has an owner:
/// the innermost node whose range holds it; node 1 (the program) holds them all.
class SyntaxTree final
{
public:
    using Node = SyntaxNode;

    explicit SyntaxTree(const AnalysisData &data);

    /// Builds the tree of `data` and keeps it there: AnalysisData::syntaxNodes and every token's
    /// owner (Token::node).
    static void record(AnalysisData &data);

    /// Nodes in an order where every parent comes before its children.
    const std::vector<Node> &nodes() const { return m_nodes; }
    /// The owning node (1-based) of token `tokenId`; 1 for ids out of range.
    std::uint32_t ownerOf(std::uint32_t tokenId) const
    {
        return tokenId >= 1 && tokenId <= m_owner.size() ? m_owner[tokenId - 1] : 1;
    }

private:
    /// Fewer tokens than a node spans in practice (the room reserved for the nodes).
    static constexpr std::size_t tokensPerNode = 4;

    class StatementScanner;

    /// The upper-case text of token `index` when it is a reserved word (every word when the
    /// tokens have no roles), else empty: only reserved words decide the structure.
    std::string_view upper(std::size_t index) const;
    std::uint32_t add(Node node);
    void divisions();
    void dataDivision(std::uint32_t division, std::size_t begin, std::size_t end);
    void procedureDivision(std::uint32_t division, std::size_t begin, std::size_t end);
    void assignOwners();

    const AnalysisData &m_data;
    bool m_rolesKnown = false; ///< false for data written before tokens had roles
    /// Upper-case copies of the reserved words written with lower-case letters (rare), by
    /// token index; made when first asked for.
    mutable std::unordered_map<std::size_t, std::string> m_lowered;
    std::vector<Node> m_nodes;
    std::vector<std::uint32_t> m_owner;
};

} // namespace cobol
