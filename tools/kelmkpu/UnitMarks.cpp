#include "UnitMarks.h"

#include "AnalysisData.h"
#include "AnalysisResult.h"
#include "DbMark.h"

#include <algorithm>
#include <string>

namespace kelmkpu {

std::vector<DbMarkRecord> UnitMarks::build(const AnalysisResult &result,
                                           const std::vector<std::uint32_t> &declaringTokens,
                                           const std::vector<std::uint32_t> &statementTokens)
{
    std::vector<DbMarkRecord> marks;
    const std::size_t symbols = declaringTokens.empty() ? 0 : declaringTokens.size() - 1;
    for (const FieldFinding &field : result.fields) {
        const std::size_t symbol = field.item + 1;
        if (symbol > symbols || !declaringTokens[symbol])
            continue;
        const std::string bytes = field.length > 1
                                      ? std::to_string(field.first) + "-"
                                            + std::to_string(field.first + field.length - 1)
                                      : std::to_string(field.first);
        marks.push_back({DbMark::dateField,
                         declaringTokens[symbol],
                         static_cast<std::uint32_t>(symbol),
                         std::string(kindName(field.kind)) + " bytes " + bytes});
    }
    for (const WindowSite &site : result.windows) {
        if (site.statement >= statementTokens.size() || !statementTokens[site.statement])
            continue;
        const std::size_t symbol = site.yearItems.empty() ? 0 : site.yearItems.front() + 1;
        marks.push_back({DbMark::windowSite,
                         statementTokens[site.statement],
                         symbol <= symbols ? static_cast<std::uint32_t>(symbol) : 0,
                         site.reason});
    }
    std::stable_sort(marks.begin(), marks.end(), [](const DbMarkRecord &a, const DbMarkRecord &b) {
        return a.token < b.token;
    });
    return marks;
}

DbPuState UnitMarks::state(const cobol::AnalysisData &data, const AnalysisResult &result)
{
    const bool errors = std::any_of(data.diagnostics.begin(),
                                    data.diagnostics.end(),
                                    [](const cobol::Diagnostic &d) {
                                        return d.severity == cobol::Diagnostic::Severity::Error;
                                    });
    return errors                 ? DbPuState::analyzedWithErrors
           : result.hasWarnings() ? DbPuState::analyzedWithWarnings
                                  : DbPuState::analyzed;
}

} // namespace kelmkpu
