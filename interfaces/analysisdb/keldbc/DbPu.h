#pragma once

#include "DbInputFileTable.h"
#include "DbMark.h"
#include "DbNode.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "DbTreeInfoTable.h"
#include "DbUnitData.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class DbEu;

/// A line of the expanded source: the include and line it comes from, its kind and text.
using DbSourceLine = DbLineRecord;

/// A program unit of an execution unit: one analysed COBOL program.
///
/// The header (name, files, state, counts) is there from the moment the execution unit is
/// opened. `load()` reads the rest (tokens, syntax nodes, symbols, tree records, marks, input
/// files, the expanded source) into plain objects in one go; after that nothing touches the
/// database, so views never wait on SQL while they draw. A unit is loaded at most once: objects
/// handed out stay valid as long as the execution unit lives, even when the database changes.
///
/// Threads: `load()` may be called from any thread, also concurrently (one load reads, the
/// others wait for it). Everything else reads the loaded, unchanging unit and needs no lock.
class DbPu final
{
public:
    /// See `DbPuState`.
    using State = DbPuState;
    static constexpr std::uint32_t languageCobol = 1;

    DbPu(const DbPu &) = delete;
    DbPu &operator=(const DbPu &) = delete;
    ~DbPu();

    // --- Header: available before loading -------------------------------------------------------

    /// The program's name (PROGRAM-ID): window titles, profile sections, list texts. Two units
    /// with the same name from different directories stay two units with the same name; their
    /// `sourceFileName()` tells them apart.
    const std::string &puName() const { return m_header.name; }
    /// Absolute path of the program source.
    const std::string &sourceFileName() const { return m_header.sourceFile; }
    /// The expanded source file (the source with its copybooks expanded, one line per source
    /// line) written beside the database.
    const std::string &expandedSourceFileName() const { return m_header.expandedSourceFile; }
    std::uint32_t languageCode() const { return m_header.languageCode; }
    std::uint32_t version() const { return m_header.version; }
    std::uint32_t release() const { return m_header.release; }
    bool isAnalyzed() const { return m_header.analyzed; }
    bool isLinkable() const { return m_header.linkable; }
    State state() const { return m_header.state; }
    /// Seconds since 1970 (UTC) when the unit was recorded.
    std::int64_t timeStamp() const { return m_header.timeStamp; }
    /// The CCSID of the unit's texts (1208: UTF-8).
    std::uint32_t codePage() const { return m_header.codePage; }
    const std::string &dialect() const { return m_header.dialect; }
    const DbUnitHeader &header() const { return m_header; }

    /// Display text of a state ("Analyzed", "Analyzed with warnings", ...).
    static std::string toIString(State state);

    DbEu *pEu() const { return m_eu; }
    /// The unit's key in its database file.
    std::int64_t databaseId() const { return m_databaseId; }

    // --- Loading --------------------------------------------------------------------------------

    /// Reads the unit from its execution unit's database (its own read-only connection, one read
    /// transaction). True when the unit is loaded, also when it was loaded before. On failure
    /// returns false and `loadError()` says why (the file, what was expected, what was found);
    /// nothing is thrown and the unit stays unloaded, so a later call may try again.
    bool load();
    bool isLoaded() const { return m_loaded.load(std::memory_order_acquire); }
    /// Why the last `load()` failed; empty when it did not.
    std::string loadError() const;

    /// Builds the unit from `data` instead of reading it (the loader's second half; tests use it
    /// directly). False with `error` set when the data is inconsistent or the unit is already
    /// loaded.
    bool loadData(DbUnitData data, std::string &error);

    // --- Tokens and nodes: need a loaded unit ----------------------------------------------------

    std::uint32_t numberOfTokens() const { return static_cast<std::uint32_t>(m_tokens.size()); }
    /// The number of `token` in this unit (1..N); 0 for null or a token of another unit.
    std::uint32_t tokenToNumber(const DbToken *token) const;
    /// The token with `number`; null for 0 or a number beyond the last token.
    DbToken *numberToToken(unsigned long number) const;

    std::uint32_t numberOfNodes() const { return static_cast<std::uint32_t>(m_nodes.size()); }
    /// The owning syntax node of `token`; null for null or a token of another unit.
    DbNode *tokenToNode(const DbToken *token) const;
    /// The number of `node` in this unit (1..K); 0 for null or a node of another unit.
    std::uint32_t nodeToNumber(const DbNode *node) const;
    DbNode *numberToNode(unsigned long number) const;
    /// The unit's own node (node 1); null before loading.
    DbNode *rootNode() const { return numberToNode(1); }

    // --- Symbols, tree, marks, files ------------------------------------------------------------

    std::uint32_t numberOfSymbols() const { return static_cast<std::uint32_t>(m_symbols.size()); }
    /// The symbol with `number` (1..S); null when out of range.
    DbSymbol *symbol(unsigned long number) const;
    /// The symbol whose `sNumber()` is `sNumber`; null when none.
    DbSymbol *symbolForSNumber(const std::string &sNumber) const;

    DbTreeInfoTable &treeInfoTable() { return m_treeInfos; }
    /// Record 1 of the tree table; null before loading.
    DbTreeInfo *treeRoot() { return m_treeInfos.treeInfo(1); }
    DbInputFileTable &inputFileTable() { return m_inputFiles; }
    /// The file that include `include` read (0 = the program source); null when out of range.
    const DbInputFile *includeFile(std::uint32_t include) const;
    const std::vector<DbIncludeRecord> &includes() const { return m_includes; }
    const std::vector<DbMark> &marks() const { return m_marks; }

    // --- The expanded source ---------------------------------------------------------------------

    std::uint32_t numberOfExpandedLines() const
    {
        return static_cast<std::uint32_t>(m_lines.size());
    }
    /// Line `line` (1-based) of the expanded source; null when out of range.
    const DbSourceLine *expandedLine(std::uint32_t line) const;
    /// The first token shown on expanded line `line`; null when the line has none.
    DbToken *firstTokenOnLine(std::uint32_t line) const;
    /// The token covering column `column` of expanded line `line`; null when none does.
    DbToken *tokenAt(std::uint32_t line, std::uint32_t column) const;

private:
    friend class DbEu;
    friend class KelPuSmCursor;
    friend class KelMkSmR;

    DbPu(DbEu &eu, DbUnitHeader header, std::int64_t databaseId);
    void build(DbUnitData &data);
    void buildSymbols(DbUnitData &data);
    void buildTree(DbUnitData &data);
    void buildLineIndex();

    DbEu *m_eu;
    DbUnitHeader m_header;
    std::int64_t m_databaseId = 0;

    mutable std::mutex m_loadMutex; ///< serialises loads; guards m_loadError
    std::atomic<bool> m_loaded{false};
    std::string m_loadError;

    std::vector<DbToken> m_tokens;
    std::vector<DbNode> m_nodes;
    std::vector<DbSymbol> m_symbols;
    std::vector<DbMark> m_marks;
    std::vector<DbIncludeRecord> m_includes;
    std::vector<std::uint32_t> m_includeFiles; ///< include id -> position in m_inputFiles
    std::vector<DbSourceLine> m_lines;
    std::vector<std::uint32_t> m_lineFirstToken; ///< expanded line - 1 -> first token number
    DbTreeInfoTable m_treeInfos;
    DbInputFileTable m_inputFiles;
};
