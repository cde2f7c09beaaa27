#include "MouseGestureTable.h"

namespace {

using Gesture = MouseGestureTable::Gesture;
using Action = MouseGestureTable::Action;
using Keys = MouseGestureTable::Keys;

Gesture buttonOneDown(Keys keys)
{
    if (keys.ctrl && keys.alt)
        return Gesture::b1DownCtrlAlt;
    if (keys.ctrl && keys.shift)
        return Gesture::b1DownCtrlShift;
    if (keys.alt)
        return Gesture::b1DownAlt;
    if (keys.shift)
        return Gesture::b1DownShift;
    if (keys.ctrl)
        return Gesture::b1DownCtrl;
    return Gesture::b1Down;
}

Gesture buttonOne(Action action, Keys keys)
{
    const bool none = !keys.ctrl && !keys.alt && !keys.shift;
    switch (action) {
    case Action::up:
        return Gesture::b1Up;
    case Action::down:
        return buttonOneDown(keys);
    case Action::click:
        if (keys.ctrl && !keys.alt && !keys.shift)
            return Gesture::b1ClickCtrl;
        return none ? Gesture::b1Click : Gesture::none;
    case Action::doubleClick:
        return none ? Gesture::b1DblClick : Gesture::none;
    }
    return Gesture::none;
}

Gesture buttonTwo(Action action)
{
    switch (action) {
    case Action::up:
        return Gesture::b2Up;
    case Action::down:
        return Gesture::b2Down;
    case Action::click:
        return Gesture::b2Click;
    case Action::doubleClick:
        return Gesture::b2DblClick;
    }
    return Gesture::none;
}

} // namespace

MouseGestureTable::Gesture MouseGestureTable::gestureFor(int button, Action action, Keys keys)
{
    switch (button) {
    case 1:
        return buttonOne(action, keys);
    case 2:
        return buttonTwo(action);
    default:
        return Gesture::none;
    }
}

const char *MouseGestureTable::name(Gesture gesture)
{
    switch (gesture) {
    case Gesture::none:
        return "none";
    case Gesture::b1Up:
        return "b1Up";
    case Gesture::b1DownAlt:
        return "b1DownAlt";
    case Gesture::b1DownShift:
        return "b1DownShift";
    case Gesture::b1DownCtrl:
        return "b1DownCtrl";
    case Gesture::b1DownCtrlAlt:
        return "b1DownCtrlAlt";
    case Gesture::b1DownCtrlShift:
        return "b1DownCtrlShift";
    case Gesture::b1Down:
        return "b1Down";
    case Gesture::b1Click:
        return "b1Click";
    case Gesture::b1ClickCtrl:
        return "b1ClickCtrl";
    case Gesture::b1DblClick:
        return "b1DblClick";
    case Gesture::b2Up:
        return "b2Up";
    case Gesture::b2Down:
        return "b2Down";
    case Gesture::b2Click:
        return "b2Click";
    case Gesture::b2DblClick:
        return "b2DblClick";
    }
    return "none";
}
