#pragma once

#include "DateFieldKind.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelmkpu {

/// The date-field kinds exchanged with the engine are the engine's own: the same codes, names
/// (kindName) and seed-block tags (kindTag).
using DateKind = ::DateFieldKind;
using ::kindName;
using ::kindTag;

/// What is known about a byte: a set of polarities (year, non-year).
enum Polarity : std::uint8_t {
    PolarityNone = 0,
    PolarityYear = 1,
    PolarityNonYear = 2,
    PolarityBoth = 3
};

/// Evidence strength: declared or seeded knowledge is `Always`, knowledge from usage `Used`.
enum class Strength : std::uint8_t { Used, Always };

/// The kind for a seed-block tag, with or without angle brackets, in any letter case; both
/// "<always-year-and-non-year>" and "always-conflict" name code 0. Empty when unknown.
std::optional<DateKind> kindFromTag(std::string_view tag);

/// The polarity a kind asserts and whether it is an always-kind.
std::uint8_t kindPolarity(DateKind kind);
Strength kindStrength(DateKind kind);

/// The kind of a byte with polarity `polarity` (not None) and strength `strength`.
DateKind kindOf(std::uint8_t polarity, Strength strength);

} // namespace kelmkpu
