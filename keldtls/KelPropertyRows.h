#pragma once

#include <QString>

#include <cstdint>

class XISettingsPage;

/// The label and value rows of the details and settings pages.
namespace KelPropertyRows {

/// " X " for a set flag, three blanks for a clear one.
QString flagText(bool set);

/// Adds the row (the user resource library's string `labelId`, `value`) to `page`, unless
/// `value` is empty: an attribute without a value gets no row. True when added.
bool add(XISettingsPage &page, unsigned long labelId, const QString &value);

/// A decimal number.
QString number(std::uint64_t value);

} // namespace KelPropertyRows
