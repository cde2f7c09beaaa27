#pragma once

#include <QColor>
#include <QString>

/// The colours of the data map, in one place so that the map, its legend and the saved pictures
/// agree. The record and its groups are tinted blue-grey, elementary items are white, items of a
/// REDEFINES or RENAMES pane lavender, date fields the analysis found amber with an orange bar,
/// and the selected item is outlined in blue.
namespace KelDataMapStyle {

/// What kind of box an item gets.
enum class Box { record, group, elementary, otherView, dateField, selected };

QColor background();
QColor rowBand(); ///< every other row, to read across wide maps
QColor rowLine();
QColor endLine();
QColor paneFrame();
QColor rulerBackground();
QColor rulerText();
QColor nameText();
QColor fillerText(); ///< FILLER items, which nobody names in code
QColor captionText();
QColor disclosure(); ///< the expand/collapse marker of a group

QColor fill(Box box);
QColor border(Box box);
/// The orange bar at the left edge of a date field's box.
QColor dateFieldBar();

} // namespace KelDataMapStyle
