#pragma once

/// Which operation of a view window a mouse click calls (KelMouseClickHandler): exactly one, or
/// none. Button 1 is the left button, button 2 the right one; other buttons call nothing.
///
/// | button | action       | keys held                  | gesture          |
/// |--------|--------------|----------------------------|------------------|
/// | 1      | up           | any                        | b1Up             |
/// | 1      | down         | Ctrl+Alt (Shift or not)    | b1DownCtrlAlt    |
/// | 1      | down         | Ctrl+Shift                 | b1DownCtrlShift  |
/// | 1      | down         | Alt (without Ctrl)         | b1DownAlt        |
/// | 1      | down         | Shift (without Ctrl)       | b1DownShift      |
/// | 1      | down         | Ctrl alone                 | b1DownCtrl       |
/// | 1      | down         | none                       | b1Down           |
/// | 1      | click        | Ctrl, without Alt or Shift | b1ClickCtrl      |
/// | 1      | click        | none                       | b1Click          |
/// | 1      | click        | anything else              | none             |
/// | 1      | double click | none                       | b1DblClick       |
/// | 1      | double click | any                        | none             |
/// | 2      | up / down / click / double click | any    | b2Up / b2Down / b2Click / b2DblClick |
///
/// The button-1 down rows are tested in the table's order, so Ctrl+Alt+Shift is b1DownCtrlAlt
/// and Alt+Shift is b1DownAlt. b12Click (both buttons) is not produced by clicks.
class MouseGestureTable final
{
public:
    enum class Action { down, up, click, doubleClick };
    enum class Gesture {
        none,
        b1Up,
        b1DownAlt,
        b1DownShift,
        b1DownCtrl,
        b1DownCtrlAlt,
        b1DownCtrlShift,
        b1Down,
        b1Click,
        b1ClickCtrl,
        b1DblClick,
        b2Up,
        b2Down,
        b2Click,
        b2DblClick,
    };
    struct Keys
    {
        bool ctrl = false;
        bool alt = false;
        bool shift = false;
    };

    /// The gesture of `button` (1, 2; anything else gives none) doing `action` with `keys`.
    static Gesture gestureFor(int button, Action action, Keys keys);
    /// The gesture's operation name ("b1DownCtrlAlt"), "none" for none.
    static const char *name(Gesture gesture);
};
