#pragma once

#include <QColor>
#include <QString>

/// The 16-colour palette of the token colours (KelTokenAttribute): the classic sixteen colours
/// of a VGA display, index 0 black to 15 white.
namespace KelColourPalette {

inline constexpr int count = 16;

/// The colour at `index` (0-15); black for an index out of range.
QColor colour(int index);
/// The colour's name (KELRESRC), for tool tips and accessibility.
QString name(int index);

} // namespace KelColourPalette
