#include "MouseGestureTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Action = MouseGestureTable::Action;

std::string gesture(int button, Action action, const std::string &keys)
{
    const MouseGestureTable::Keys held{keys.find('C') != std::string::npos,
                                       keys.find('A') != std::string::npos,
                                       keys.find('S') != std::string::npos};
    return MouseGestureTable::name(MouseGestureTable::gestureFor(button, action, held));
}

} // namespace

TEST(MouseGestureTable, EveryClickCallsTheOperationOfItsRow)
{
    struct Case
    {
        int button;
        Action action;
        const char *keys; // C Ctrl, A Alt, S Shift
        const char *expected;
    };
    const Case cases[] = {
        // Button 1 down: Ctrl+Alt first, then Ctrl+Shift, Alt, Shift, Ctrl, none.
        {1, Action::down, "", "b1Down"},
        {1, Action::down, "C", "b1DownCtrl"},
        {1, Action::down, "A", "b1DownAlt"},
        {1, Action::down, "S", "b1DownShift"},
        {1, Action::down, "CA", "b1DownCtrlAlt"},
        {1, Action::down, "CAS", "b1DownCtrlAlt"},
        {1, Action::down, "CS", "b1DownCtrlShift"},
        {1, Action::down, "AS", "b1DownAlt"},
        // Button 1 up: any keys.
        {1, Action::up, "", "b1Up"},
        {1, Action::up, "CAS", "b1Up"},
        // Button 1 click: Ctrl alone or nothing; Shift or Alt calls nothing.
        {1, Action::click, "", "b1Click"},
        {1, Action::click, "C", "b1ClickCtrl"},
        {1, Action::click, "S", "none"},
        {1, Action::click, "A", "none"},
        {1, Action::click, "CS", "none"},
        {1, Action::click, "CA", "none"},
        // Button 1 double click: only without keys.
        {1, Action::doubleClick, "", "b1DblClick"},
        {1, Action::doubleClick, "C", "none"},
        {1, Action::doubleClick, "S", "none"},
        // Button 2: every action, whatever the keys.
        {2, Action::up, "A", "b2Up"},
        {2, Action::down, "", "b2Down"},
        {2, Action::click, "CS", "b2Click"},
        {2, Action::doubleClick, "", "b2DblClick"},
        {2, Action::doubleClick, "CAS", "b2DblClick"},
        // Other buttons are not dispatched.
        {3, Action::down, "", "none"},
        {3, Action::click, "C", "none"},
        {0, Action::up, "", "none"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(gesture(c.button, c.action, c.keys), c.expected)
            << "button " << c.button << " action " << static_cast<int>(c.action) << " keys "
            << c.keys;
}
