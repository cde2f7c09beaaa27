#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <vector>

namespace cobol {
class AnalysisData;
}

namespace kelmkpu {

struct AnalysisResult;

/// What the date-field analysis adds to a program unit: the marks on its tokens and its state.
class UnitMarks final
{
public:
    /// The marks, in token order: on the declaring token of each date field found (text: its
    /// kind and bytes, "USED-AS-YEAR bytes 1-2"), and on the first token at the place of each
    /// statement to window (text: the reason). `declaringTokens[s]` is the unit token that
    /// declares symbol s, `statementTokens[i]` the unit token at model statement i's place (0:
    /// none; such a finding is not marked).
    static std::vector<DbMarkRecord> build(const AnalysisResult &result,
                                           const std::vector<std::uint32_t> &declaringTokens,
                                           const std::vector<std::uint32_t> &statementTokens);

    /// The unit's state: the source has errors (the front end's), else the analysis has
    /// warnings, else analysed.
    static DbPuState state(const cobol::AnalysisData &data, const AnalysisResult &result);
};

} // namespace kelmkpu
