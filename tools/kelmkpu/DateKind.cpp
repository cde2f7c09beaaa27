#include "DateKind.h"

#include <cctype>
#include <string>

namespace kelmkpu {

std::optional<DateKind> kindFromTag(std::string_view tag)
{
    if (tag.size() >= 2 && tag.front() == '<' && tag.back() == '>')
        tag = tag.substr(1, tag.size() - 2);
    const auto lowerCase = [](std::string_view text) {
        std::string lower;
        for (char c : text)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    };
    const std::string lower = lowerCase(tag);
    if (lower == "always-conflict")
        return DateKind::AlwaysConflict;
    for (int code = 0; code < kindCount; ++code) {
        const auto kind = static_cast<DateKind>(code);
        const std::string_view fullTag = kindTag(kind);
        if (lower == fullTag.substr(1, fullTag.size() - 2) || lower == lowerCase(kindName(kind)))
            return kind;
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
