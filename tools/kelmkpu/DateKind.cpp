#include "DateKind.h"

#include <array>
#include <cctype>
#include <string>

namespace kelmkpu {

namespace {

struct KindText
{
    DateKind kind;
    std::string_view name;
    std::string_view tag;
};

constexpr std::array<KindText, 6> kindTexts{{
    {DateKind::AlwaysConflict, "ALWAYS-CONFLICT", "<always-year-and-non-year>"},
    {DateKind::AlwaysYear, "ALWAYS-YEAR", "<always-year>"},
    {DateKind::AlwaysNonYear, "ALWAYS-NON-YEAR", "<always-non-year>"},
    {DateKind::UsedAsYear, "USED-AS-YEAR", "<used-as-year>"},
    {DateKind::UsedAsNonYear, "USED-AS-NON-YEAR", "<used-as-non-year>"},
    {DateKind::UsedAsYearAndNonYear, "USED-AS-YEAR-AND-NON-YEAR", "<used-as-year-and-non-year>"},
}};

} // namespace

std::string_view kindName(DateKind kind)
{
    return kindTexts.at(static_cast<std::size_t>(kind)).name;
}

std::string_view kindTag(DateKind kind)
{
    return kindTexts.at(static_cast<std::size_t>(kind)).tag;
}

std::optional<DateKind> kindFromTag(std::string_view tag)
{
    if (tag.size() >= 2 && tag.front() == '<' && tag.back() == '>')
        tag = tag.substr(1, tag.size() - 2);
    std::string lower;
    for (char c : tag)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "always-conflict")
        return DateKind::AlwaysConflict;
    for (const KindText &text : kindTexts) {
        std::string_view bare = text.tag.substr(1, text.tag.size() - 2);
        if (lower == bare)
            return text.kind;
        std::string name;
        for (char c : text.name)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == name)
            return text.kind;
    }
    return std::nullopt;
}

std::uint8_t kindPolarity(DateKind kind)
{
    switch (kind) {
    case DateKind::AlwaysConflict:
    case DateKind::UsedAsYearAndNonYear:
        return PolarityBoth;
    case DateKind::AlwaysYear:
    case DateKind::UsedAsYear:
        return PolarityYear;
    case DateKind::AlwaysNonYear:
    case DateKind::UsedAsNonYear:
        return PolarityNonYear;
    }
    return PolarityNone;
}

Strength kindStrength(DateKind kind)
{
    switch (kind) {
    case DateKind::AlwaysConflict:
    case DateKind::AlwaysYear:
    case DateKind::AlwaysNonYear:
        return Strength::Always;
    case DateKind::UsedAsYear:
    case DateKind::UsedAsNonYear:
    case DateKind::UsedAsYearAndNonYear:
        return Strength::Used;
    }
    return Strength::Used;
}

DateKind kindOf(std::uint8_t polarity, Strength strength)
{
    const bool always = strength == Strength::Always;
    if (polarity == PolarityBoth)
        return always ? DateKind::AlwaysConflict : DateKind::UsedAsYearAndNonYear;
    if (polarity == PolarityNonYear)
        return always ? DateKind::AlwaysNonYear : DateKind::UsedAsNonYear;
    return always ? DateKind::AlwaysYear : DateKind::UsedAsYear;
}

} // namespace kelmkpu
