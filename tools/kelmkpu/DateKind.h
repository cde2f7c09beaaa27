#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelmkpu {

/// The date-field kinds exchanged with the engine; the codes are the engine's.
enum class DateKind : std::uint8_t {
    AlwaysConflict = 0,
    AlwaysYear = 1,
    AlwaysNonYear = 2,
    UsedAsYear = 3,
    UsedAsNonYear = 4,
    UsedAsYearAndNonYear = 5,
};

/// What is known about a byte: a set of polarities (year, non-year).
enum Polarity : std::uint8_t {
    PolarityNone = 0,
    PolarityYear = 1,
    PolarityNonYear = 2,
    PolarityBoth = 3
};

/// Evidence strength: declared or seeded knowledge is `Always`, knowledge from usage `Used`.
enum class Strength : std::uint8_t { Used, Always };

/// Upper-case name as the program-info file carries it ("USED-AS-YEAR").
std::string_view kindName(DateKind kind);

/// Lower-case seed-block tag with its angle brackets ("<used-as-year>").
std::string_view kindTag(DateKind kind);

/// The kind for a seed-block tag, with or without angle brackets, in any letter case; both
/// "<always-year-and-non-year>" and "always-conflict" name code 0. Empty when unknown.
std::optional<DateKind> kindFromTag(std::string_view tag);

/// The polarity a kind asserts and whether it is an always-kind.
std::uint8_t kindPolarity(DateKind kind);
Strength kindStrength(DateKind kind);

/// The kind of a byte with polarity `polarity` (not None) and strength `strength`.
DateKind kindOf(std::uint8_t polarity, Strength strength);

} // namespace kelmkpu
