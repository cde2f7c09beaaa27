#pragma once

#include <QString>

/// The kit's inline text mark-up, shared by static texts, message boxes and button labels.
///
/// Recognised tags (case-insensitive): "<b>", "<i>", "<u>", "<color=NAME>" (a colour name or
/// "#rrggbb"), "<size=N>" (N points, 1 to 99), and the closing forms "</b>", "</i>", "</u>",
/// "</color>", "</size>". Everything else, including unknown tags, malformed tags and a stray
/// "<" or "&", is text and is shown exactly as written: the result never passes caller text
/// through as HTML.
namespace KitMarkup {

/// Rich text (Qt's HTML subset) for a QLabel. A closing tag without an open counterpart is
/// dropped; tags still open at the end are closed; runs of blanks and line breaks are kept.
QString toRichText(const QString &markup);

/// The text without its tags, for places that cannot show formatting (window titles, buttons).
/// A "&" stays as it is, so it still marks a button's mnemonic.
QString toPlainText(const QString &markup);

} // namespace KitMarkup
