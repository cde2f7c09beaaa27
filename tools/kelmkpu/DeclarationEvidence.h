#pragma once

#include "ProgramModel.h"

#include <cstdint>
#include <vector>

namespace kelmkpu {

/// The narrow declaration patterns that count as always-year evidence, and the weaker ones that
/// are only reported as candidates. Every program that shares a copybook inherits a false
/// positive, so the strong set stays small:
///
/// - a year item: a name token YY, YR, YEAR, YYYY or CCYY (tokens are the parts between hyphens)
///   on a numeric item of 2 or 4 integer digits without decimals: every value byte;
/// - a layout item: a name token that spells a year-first layout (YYMMDD, YYDDD, CCYYMMDD,
///   YYYYMMDD, CCYYDDD, YYYYDDD) on a DISPLAY numeric or alphanumeric item of exactly that many
///   characters: the 2 or 4 year bytes at its start.
class DeclarationEvidence final
{
public:
    enum class Match { None, Year, Candidate };

    struct Result
    {
        Match match = Match::None;
        std::vector<std::uint32_t> yearBytes; ///< offsets inside the item, for Match::Year
    };

    /// Classifies one elementary item. Candidates: a name token DATE, DT, DOB or a layout token
    /// without a fitting picture.
    static Result classify(const DataItem &item);
};

} // namespace kelmkpu
