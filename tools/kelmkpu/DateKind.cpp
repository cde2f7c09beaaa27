#include "DateKind.h"

#include <cctype>
#include <string>

namespace kelmkpu {

std::optional<DateKind> kindFromTag(std::string_view tag)
{
    if (tag.size() >= 2 && tag.front() == '<' && tag.back() == '>')
        tag = tag.substr(1, tag.size() - 2);
    // Seed files hold thousands of tags: compared letter by letter, without copies.
    const auto sameLetters = [tag](std::string_view word) {
        if (word.size() != tag.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(word[i]))
                != std::tolower(static_cast<unsigned char>(tag[i])))
                return false;
        return true;
    };
    if (sameLetters("always-conflict"))
        return DateKind::AlwaysConflict;
    for (int code = 0; code < kindCount; ++code) {
        const auto kind = static_cast<DateKind>(code);
        const std::string_view fullTag = kindTag(kind);
        if (sameLetters(fullTag.substr(1, fullTag.size() - 2)) || sameLetters(kindName(kind)))
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
