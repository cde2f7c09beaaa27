#pragma once

#include <optional>
#include <string>
#include <string_view>

/// A window placement as the placement profile stores it: five words separated by single
/// blanks, the frame rectangle's first corner (x, y), its opposite corner (x, y) and the state
/// word "MIN", "MAX" or "NONE":
///
///     12 40 612 440 NONE
///
/// The corners are screen coordinates with y growing downwards; the maximum corner lies just
/// outside the rectangle (a 600 by 400 frame at 12, 40 reads "12 40 612 440"). Std-only.
struct PlacementValue
{
    enum class State { Normal, Minimized, Maximized };

    long x1 = 0;
    long y1 = 0;
    long x2 = 0;
    long y2 = 0;
    State state = State::Normal;

    /// Reads a stored value. Nothing when the first four words are not all integers (too few
    /// words, other text, numbers beyond the integer range): such a value is damaged and must
    /// not move a window. The fifth word "MIN" or "MAX" gives that state; any other word, or
    /// none, gives Normal. Words after the fifth are ignored.
    static std::optional<PlacementValue> parse(std::string_view text);

    /// The stored form: "x1 y1 x2 y2 STATE".
    std::string text() const;

    static const char *stateWord(State state);

    long left() const { return x1 < x2 ? x1 : x2; }
    long top() const { return y1 < y2 ? y1 : y2; }
    long width() const { return x1 < x2 ? x2 - x1 : x1 - x2; }
    long height() const { return y1 < y2 ? y2 - y1 : y1 - y2; }
    /// False for a rectangle without area, which no window can take.
    bool hasArea() const { return width() > 0 && height() > 0; }
};
