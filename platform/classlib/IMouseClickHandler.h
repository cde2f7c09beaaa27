#pragma once

#include "IHandler.h"

#include <QCursor>
#include <QHash>
#include <QPoint>

#include <optional>

class QWidget;

/// A mouse click as the design's click handlers see it: which button (1 the left, 2 the right,
/// 3 the middle one), what happened (down, up, click, double click), the keys held and where, in
/// the coordinates of the widget that got it.
class IMouseClickEvent final
{
public:
    enum class Button { Button1 = 1, Button2 = 2, Button3 = 3 };
    enum class Action { Down, Up, Click, DoubleClick };

    IMouseClickEvent(QWidget *window,
                     Button button,
                     Action action,
                     Qt::KeyboardModifiers modifiers,
                     QPoint position);

    QWidget *window() const { return m_window; }
    Button mouseButton() const { return m_button; }
    Action mouseAction() const { return m_action; }
    bool isCtrlKeyDown() const { return m_modifiers.testFlag(Qt::ControlModifier); }
    bool isAltKeyDown() const { return m_modifiers.testFlag(Qt::AltModifier); }
    bool isShiftKeyDown() const { return m_modifiers.testFlag(Qt::ShiftModifier); }
    Qt::KeyboardModifiers modifiers() const { return m_modifiers; }
    QPoint mousePosition() const { return m_position; }

private:
    QWidget *m_window;
    Button m_button;
    Action m_action;
    Qt::KeyboardModifiers m_modifiers;
    QPoint m_position;
};

/// The pointer moved over a window: a handler may choose the mouse pointer to show there.
class IMousePointerEvent final
{
public:
    IMousePointerEvent(QWidget *window, QPoint position);

    QWidget *window() const { return m_window; }
    QPoint mousePosition() const { return m_position; }
    void setMousePointer(const QCursor &pointer) { m_pointer = pointer; }
    const std::optional<QCursor> &mousePointer() const { return m_pointer; }

private:
    QWidget *m_window;
    QPoint m_position;
    std::optional<QCursor> m_pointer;
};

/// A handler of mouse clicks and pointer moves on the widgets it is attached to (attach it to the
/// widget that shows the view: the client area, or a scroll area's viewport).
///
/// Qt's mouse events become the design's: a press is Down; a release is Up and, when the pointer
/// stayed within the drag distance of its press, then a Click; Qt's double-click event (which
/// replaces the second press) is DoubleClick, and the release after it an Up only. So a double
/// click reads Down, Up, Click, DoubleClick, Up. Buttons other than the three are not dispatched.
/// mouseClicked returning true takes the Qt event (the widget does not see it); for a release,
/// the event is taken when Up or Click was handled.
///
/// mousePointerChange is asked whenever the pointer moves over the widget (mouse tracking is
/// switched on for it): a handler that returns true with a pointer set shows that pointer;
/// returning false puts back the widget's own.
class IMouseClickHandler : public IHandler
{
    Q_OBJECT

public:
    using IHandler::IHandler;

    /// Also switches mouse tracking on for `window`, so that pointer moves arrive.
    IMouseClickHandler &handleEventsFor(QWidget *window);

protected:
    virtual bool mouseClicked(IMouseClickEvent &event);
    virtual bool mousePointerChange(IMousePointerEvent &event);

    bool dispatchHandlerEvent(QEvent &event) override;

private:
    struct Press
    {
        Qt::MouseButton button = Qt::NoButton;
        QPoint position;
        bool doubleClick = false; // the release after a double click is an Up only
    };
    QHash<const QObject *, Press> m_presses;
    QHash<const QObject *, bool> m_pointerSet;
};
