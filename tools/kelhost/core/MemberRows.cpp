#include "MemberRows.h"

#include "DbPu.h"
#include "DbToken.h"
#include "PathNames.h"

#include <map>
#include <tuple>

MemberRows::MemberRows(const DbPu &pu)
{
    const std::vector<DbIncludeRecord> &includes = pu.includes();
    m_rows.resize(includes.empty() ? 1 : includes.size());
    for (std::uint32_t i = 0; i < m_rows.size(); ++i) {
        Row &row = m_rows[i];
        row.include = i;
        if (const DbInputFile *file = pu.includeFile(i))
            row.file = file->path();
        else if (i == 0)
            row.file = pu.sourceFileName();
        if (i == 0 || i >= includes.size())
            continue;
        const DbIncludeRecord &include = includes[i];
        row.copybook = include.copybook;
        row.qualifier = include.qualifier == "DEFAULT" ? std::string() : include.qualifier;
        const std::uint32_t parent = include.parent < i ? include.parent : 0;
        row.depth = m_rows[parent].depth + 1;
        row.includedFrom = PathNames::fileName(m_rows[parent].file) + " line "
                           + std::to_string(include.copyLine);
    }
    for (std::uint32_t line = 1; line <= pu.numberOfExpandedLines(); ++line) {
        const std::uint32_t include = pu.expandedLine(line)->include;
        if (include >= m_rows.size())
            continue;
        Row &row = m_rows[include];
        if (row.firstLine == 0)
            row.firstLine = line;
        ++row.lineCount;
    }
    // The word COPY: the copy-statement token at the statement's place in its parent (else the
    // first one on that line).
    std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::uint32_t> exact;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> onLine;
    for (std::uint32_t t = 1; t <= pu.numberOfTokens(); ++t) {
        const DbToken *token = pu.numberToToken(t);
        if (token->type() != DbToken::copyStatement)
            continue;
        exact.emplace(std::make_tuple(token->include(), token->line(), token->column()), t);
        onLine.emplace(std::make_pair(token->include(), token->line()), t);
    }
    for (std::uint32_t i = 1; i < m_rows.size() && i < includes.size(); ++i) {
        const DbIncludeRecord &include = includes[i];
        const auto hit = exact.find({include.parent, include.copyLine, include.copyColumn});
        if (hit != exact.end()) {
            m_rows[i].copyToken = hit->second;
            continue;
        }
        const auto near = onLine.find({include.parent, include.copyLine});
        if (near != onLine.end())
            m_rows[i].copyToken = near->second;
    }
    DbInputFileTable &files = const_cast<DbPu &>(pu).inputFileTable();
    for (std::size_t position = 1; position <= files.numberOfElements(); ++position)
        if (files.file(position)->kind() == DbInputFile::copybookFile)
            ++m_copybookFiles;
}
