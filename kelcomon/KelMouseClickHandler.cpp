#include "KelMouseClickHandler.h"

#include "KelWindow.h"
#include "MouseGestureTable.h"

namespace {

MouseGestureTable::Action actionOf(IMouseClickEvent::Action action)
{
    switch (action) {
    case IMouseClickEvent::Action::Down:
        return MouseGestureTable::Action::down;
    case IMouseClickEvent::Action::Up:
        return MouseGestureTable::Action::up;
    case IMouseClickEvent::Action::Click:
        return MouseGestureTable::Action::click;
    case IMouseClickEvent::Action::DoubleClick:
        return MouseGestureTable::Action::doubleClick;
    }
    return MouseGestureTable::Action::up;
}

/// Clears the busy flag however the gesture ends.
class BusyScope final
{
public:
    explicit BusyScope(BusyFlag &busy)
        : m_busy(busy)
    {}
    ~BusyScope() { m_busy.leave(); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    BusyFlag &m_busy;
};

} // namespace

KelMouseClickHandler::KelMouseClickHandler(KelWindow *window)
    : IMouseClickHandler(window)
    , m_window(window)
{}

bool KelMouseClickHandler::mouseClicked(IMouseClickEvent &event)
{
    if (!m_window->m_busy.tryEnter()) {
        // One press is one beep: its release and click are taken silently.
        if (event.mouseAction() == IMouseClickEvent::Action::Down
            || event.mouseAction() == IMouseClickEvent::Action::DoubleClick)
            m_window->beepBusy();
        return true;
    }
    const BusyScope busy(m_window->m_busy);
    const MouseGestureTable::Gesture gesture
        = MouseGestureTable::gestureFor(static_cast<int>(event.mouseButton()),
                                        actionOf(event.mouseAction()),
                                        {event.isCtrlKeyDown(),
                                         event.isAltKeyDown(),
                                         event.isShiftKeyDown()});
    return m_window->dispatchGesture(gesture, event.mousePosition());
}

bool KelMouseClickHandler::mousePointerChange(IMousePointerEvent &event)
{
    return m_window->myMousePointer(event);
}
