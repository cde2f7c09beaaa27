#pragma once

#include "IMouseClickHandler.h"

class KelWindow;

/// The mouse-click handler of a view window's client: every click of button 1 or 2 calls
/// exactly one gesture operation of the window (MouseGestureTable), with the window busy
/// meanwhile; the operation's answer is the click's (false: the client sees the click).
/// While the window is busy every click is consumed, and a press sounds the busy beep.
/// Pointer moves go to the window's myMousePointer.
///
/// KelWindow::setClient attaches one; a view whose clicks arrive on another widget (a scroll
/// area's viewport) attaches it there: `handler->handleEventsFor(viewport)`.
class KelMouseClickHandler : public IMouseClickHandler
{
    Q_OBJECT

public:
    /// Bound to `window`, which owns it.
    explicit KelMouseClickHandler(KelWindow *window);

protected:
    bool mouseClicked(IMouseClickEvent &event) override;
    bool mousePointerChange(IMousePointerEvent &event) override;

private:
    KelWindow *m_window;
};
