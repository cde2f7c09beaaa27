#pragma once

#include "PlacementValue.h"

#include <QRect>

class QWidget;

/// How a placement (PlacementValue) is read from and applied to a top-level window.
///
/// The rectangle is the window's geometry() (its client frame without the window system's
/// decorations), so that a saved placement applied again puts the window exactly where it was.
/// Applying never reports a system command to the window's handlers: it is the program placing
/// its window, not a user asking for a change.
namespace WindowPlacement {

/// MIN, MAX or NONE as the window is now.
PlacementValue::State stateOf(const QWidget *window);

/// The window's current rectangle and state.
PlacementValue current(const QWidget *window);

/// `rectangle` as it can be shown: unchanged when it meets the available area of some screen,
/// else moved onto the primary screen (centred there, and shrunk to fit it).
QRect onSomeScreen(const QRect &rectangle);

/// Puts the window in normal state at the value's rectangle (onSomeScreen). A value without
/// area changes nothing; returns whether the window was placed.
bool applyRectangle(QWidget *window, const PlacementValue &value);

/// Minimizes or maximizes the window (a hidden window takes the state when it is shown); Normal
/// leaves it as placed.
void applyState(QWidget *window, PlacementValue::State state);

} // namespace WindowPlacement
