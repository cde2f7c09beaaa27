#include "DbUnitData.h"

namespace {

/// Collects the first inconsistency found.
class Checker
{
public:
    explicit Checker(std::string &error)
        : m_error(error)
    {}

    /// `value` must be at most `limit` (0 allowed unless `required`).
    bool check(const char *what,
               std::size_t owner,
               const char *field,
               std::uint64_t value,
               std::size_t limit,
               bool required = false)
    {
        if (!m_error.empty())
            return false;
        if (value <= limit && (!required || value != 0))
            return true;
        m_error = std::string(what) + " " + std::to_string(owner) + " refers to " + field + " "
                  + std::to_string(value) + " of " + std::to_string(limit);
        return false;
    }
    void fail(std::string text)
    {
        if (m_error.empty())
            m_error = std::move(text);
    }

private:
    std::string &m_error;
};

} // namespace

std::string DbUnitData::validate() const
{
    std::string error = validateRows(tokens.size(), lines.size(), nodes.size());
    Checker c(error);
    const std::size_t nTokens = tokens.size(), nNodes = nodes.size(), nSymbols = symbols.size(),
                      nTree = treeRecords.size();
    // Include ids are 0..n-1; a unit without include records has only the program source.
    const std::size_t lastInclude = includes.empty() ? 0 : includes.size() - 1;

    if (nNodes == 0 || nodes[0].parent != 0 || nodes[0].kind != 0)
        c.fail("node 1 is not the unit's root node");
    for (std::size_t i = 0; i < lines.size(); ++i)
        c.check("line", i + 1, "include", lines[i].include, lastInclude);
    for (std::size_t i = 0; i < nTokens; ++i) {
        const DbTokenRecord &t = tokens[i];
        c.check("token", i + 1, "type", t.type, 9);
        c.check("token", i + 1, "include", t.include, lastInclude);
        c.check("token", i + 1, "symbol", t.symbol, nSymbols);
        c.check("token", i + 1, "node", t.node, nNodes, true);
        c.check("token", i + 1, "line", t.expandedLine, lines.size());
    }
    for (std::size_t i = 0; i < nNodes; ++i) {
        const DbNodeRecord &n = nodes[i];
        if (i > 0 && (n.parent == 0 || n.parent > i))
            c.fail("node " + std::to_string(i + 1) + " has the parent " + std::to_string(n.parent)
                   + ", which does not come before it");
        c.check("node", i + 1, "kind", n.kind, 6);
        c.check("node", i + 1, "token", n.firstToken, nTokens);
        c.check("node", i + 1, "token", n.lastToken, nTokens);
        c.check("node", i + 1, "symbol", n.symbol, nSymbols);
        c.check("node", i + 1, "tree record", n.treeRecord, nTree);
    }
    return error;
}

std::string DbUnitData::validateRows(std::size_t nTokens,
                                     std::size_t nLines,
                                     std::size_t nNodes) const
{
    std::string error;
    Checker c(error);
    (void) nLines;
    const std::size_t nSymbols = symbols.size(), nTree = treeRecords.size(),
                      nFiles = inputFiles.size();
    const std::size_t lastInclude = includes.empty() ? 0 : includes.size() - 1;
    if (nNodes == 0)
        c.fail("node 1 is not the unit's root node");
    if (nTree == 0 || treeRecords[0].parent != 0)
        c.fail("tree record 1 is not the unit's root");
    for (std::size_t i = 0; i < includes.size(); ++i) {
        c.check("include", i, "input file", includes[i].inputFile, nFiles, true);
        if (i > 0 && includes[i].parent >= i)
            c.fail("include " + std::to_string(i) + " has the parent "
                   + std::to_string(includes[i].parent) + ", which does not come before it");
    }
    for (std::size_t i = 0; i < nSymbols; ++i) {
        const DbSymbolRecord &s = symbols[i];
        if (s.parent > i)
            c.fail("symbol " + std::to_string(i + 1) + " has the parent " + std::to_string(s.parent)
                   + ", which does not come before it");
        c.check("symbol", i + 1, "token", s.declaringToken, nTokens);
        c.check("symbol", i + 1, "record symbol", s.record, nSymbols);
        c.check("symbol", i + 1, "base symbol", s.base, nSymbols);
        for (std::uint32_t related : s.related)
            c.check("symbol", i + 1, "related symbol", related, nSymbols);
        c.check("symbol", i + 1, "include", s.include, lastInclude);
    }
    for (std::size_t i = 0; i < nTree; ++i) {
        const DbTreeRecord &r = treeRecords[i];
        if (i > 0 && (r.parent == 0 || r.parent > i))
            c.fail("tree record " + std::to_string(i + 1) + " has the parent "
                   + std::to_string(r.parent) + ", which does not come before it");
        c.check("tree record", i + 1, "kind", r.kind, 3);
        c.check("tree record", i + 1, "node", r.node, nNodes);
    }
    if (error.empty())
        error = validateMarks(nTokens, nSymbols);
    return error;
}

std::string DbUnitData::validateMarks(std::size_t nTokens, std::size_t nSymbols) const
{
    std::string error;
    Checker c(error);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        c.check("mark", i + 1, "kind", marks[i].kind, 1);
        c.check("mark", i + 1, "token", marks[i].token, nTokens, true);
        c.check("mark", i + 1, "symbol", marks[i].symbol, nSymbols);
    }
    return error;
}
