#pragma once

#include "AnalysisData.h"
#include "ExecBlock.h"
#include "LexToken.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace cobol {

class TokenCursor;

/// What the data parser knows about an entry beyond the DataItem: its children, the names its
/// clauses refer to (resolved once all entries are read) and facts the layout needs.
struct DataEntryInfo
{
    std::vector<std::uint32_t> children;    ///< storage children (not 88/66)
    std::vector<std::uint32_t> conditions;  ///< its level-88 entries
    std::vector<std::string> redefinesName; ///< name then qualifiers
    std::vector<std::string> dependingName;
    std::vector<std::string> renamesFromName;
    std::vector<std::string> renamesThruName;
    bool usageGiven = false;
    bool compX = false;
    bool sizeFromReplacing = false; ///< PICTURE, OCCURS or USAGE text came from REPLACING
    bool pictureInvalid = false;
    int pictureSize = 0; ///< character positions of the picture
};

/// Parses the DATA DIVISION from `cursor` up to the PROCEDURE DIVISION (or the cursor's end):
/// sections, FD/SD entries and data description entries, into DataItems (no layout yet: see
/// Layout). Unknown clauses are skipped with a warning; a malformed entry is skipped up to its
/// period with an error diagnostic.
class DataDivisionParser final
{
public:
    DataDivisionParser(AnalysisData &data, std::vector<DataEntryInfo> &info)
        : m_data(data)
        , m_info(info)
    {}

    void parse(TokenCursor &cursor);

    /// Entries a translator adds to the program (the execute interface block of a CICS
    /// program): `tokens[begin, end)` of the cursor's token list are read in `area` after the
    /// program's own entries, when parse() runs.
    void addImplicit(std::size_t begin, std::size_t end, StorageArea area)
    {
        m_implicit.push_back({begin, end, area});
    }

    /// The EXEC blocks of the data division, in order.
    const std::vector<DataDivisionExec> &execBlocks() const { return m_execBlocks; }

    /// File (FD/SD) names with the first record item declared under each.
    const std::unordered_map<std::string, std::uint32_t> &fileRecords() const
    {
        return m_fileRecords;
    }

private:
    void entry(TokenCursor &cursor);
    void clauses(TokenCursor &cursor, DataItem &item, DataEntryInfo &info);
    std::vector<std::string> qualifiedName(TokenCursor &cursor);
    void diagnose(const SourcePlace &place, Diagnostic::Severity severity, std::string message);
    void resolveReferences();

    AnalysisData &m_data;
    std::vector<DataEntryInfo> &m_info;
    StorageArea m_area = StorageArea::WorkingStorage;
    std::uint32_t m_fdStorage = 0; ///< storage block of the current FD's records
    bool m_inFd = false;
    std::vector<std::uint32_t> m_stack; ///< open group items, outermost first
    std::uint32_t m_record = 0;
    std::uint32_t m_lastStorageItem = 0;
    std::string m_fdName;
    std::unordered_map<std::string, std::uint32_t> m_fileRecords;
    std::vector<DataDivisionExec> m_execBlocks;
    struct ImplicitEntries
    {
        std::size_t begin = 0;
        std::size_t end = 0;
        StorageArea area = StorageArea::Linkage;
    };
    std::vector<ImplicitEntries> m_implicit;
    std::uint32_t m_sectionNode = 0;
};

} // namespace cobol
