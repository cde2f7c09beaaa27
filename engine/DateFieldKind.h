#pragma once

#include <cstdint>
#include <string_view>

/// What the bytes of one run in a copybook hold: a year, a non-year, or both. The numeric codes
/// are part of the file formats and must not change.
enum class DateFieldKind : std::uint8_t {
    AlwaysConflict = 0,
    AlwaysYear = 1,
    AlwaysNonYear = 2,
    UsedAsYear = 3,
    UsedAsNonYear = 4,
    UsedAsYearAndNonYear = 5,
};

/// Number of valid kinds (codes 0 to kindCount - 1).
inline constexpr int kindCount = 6;

/// The kind named by `text` in a program-info file ("USED-AS-YEAR", "ALWAYS-CONFLICT", ...).
/// The comparison is exact: case-sensitive and over the whole text.
/// Throws IAccessError("Kind did not parse correctly") for any other text.
DateFieldKind parseKind(std::string_view text);

/// The name of `kind` in a program-info file ("USED-AS-YEAR"), the text parseKind reads.
/// Throws std::out_of_range for a code outside 0..5.
std::string_view kindName(DateFieldKind kind);

/// The tag written in seed blocks and traces, e.g. "<used-as-year>"; "<ERROR>" for a code
/// outside 0..5.
std::string_view kindTag(DateFieldKind kind);

/// The kind a run gets when an analysis reports `incoming` for bytes that already carry `stored`.
/// An incoming "always" kind wins (always-year against always-non-year gives the conflict code);
/// an incoming "used-as" kind yields to a stored "always" kind; year and non-year usage together
/// give used-as-year-and-non-year. Codes outside 0..5 are treated as the conflict code.
DateFieldKind combineKinds(DateFieldKind incoming, DateFieldKind stored);
