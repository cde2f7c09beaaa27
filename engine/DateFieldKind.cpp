#include "DateFieldKind.h"

#include "IException.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace {

struct KindForms
{
    DateFieldKind kind;
    std::string_view readForm;
};

// Tried in this order, as the analysers have always been matched.
constexpr std::array<KindForms, kindCount> readForms{{
    {DateFieldKind::UsedAsYear, "USED-AS-YEAR"},
    {DateFieldKind::UsedAsNonYear, "USED-AS-NON-YEAR"},
    {DateFieldKind::UsedAsYearAndNonYear, "USED-AS-YEAR-AND-NON-YEAR"},
    {DateFieldKind::AlwaysYear, "ALWAYS-YEAR"},
    {DateFieldKind::AlwaysNonYear, "ALWAYS-NON-YEAR"},
    {DateFieldKind::AlwaysConflict, "ALWAYS-CONFLICT"},
}};

constexpr std::array<std::string_view, kindCount> tags{
    "<always-year-and-non-year>",
    "<always-year>",
    "<always-non-year>",
    "<used-as-year>",
    "<used-as-non-year>",
    "<used-as-year-and-non-year>",
};

// Row: incoming kind, column: stored kind.
constexpr std::uint8_t combined[kindCount][kindCount] = {
    {0, 0, 0, 0, 0, 0},
    {1, 1, 0, 1, 1, 1},
    {2, 0, 2, 2, 2, 2},
    {0, 1, 2, 3, 5, 5},
    {0, 1, 2, 5, 4, 5},
    {0, 1, 2, 5, 5, 5},
};

std::size_t codeOf(DateFieldKind kind)
{
    const auto code = static_cast<std::size_t>(kind);
    return code < kindCount ? code : 0;
}

} // namespace

DateFieldKind parseKind(std::string_view text)
{
    for (const KindForms &forms : readForms) {
        if (text == forms.readForm)
            return forms.kind;
    }
    ITHROW(IAccessError("Kind did not parse correctly"));
}

std::string_view kindName(DateFieldKind kind)
{
    const auto code = static_cast<std::size_t>(kind);
    for (const KindForms &forms : readForms) {
        if (forms.kind == kind)
            return forms.readForm;
    }
    throw std::out_of_range("date-field kind code " + std::to_string(code) + " has no name");
}

std::string_view kindTag(DateFieldKind kind)
{
    const auto code = static_cast<std::size_t>(kind);
    return code < kindCount ? tags[code] : std::string_view("<ERROR>");
}

DateFieldKind combineKinds(DateFieldKind incoming, DateFieldKind stored)
{
    return static_cast<DateFieldKind>(combined[codeOf(incoming)][codeOf(stored)]);
}
