#include "IMouseClickHandler.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

std::optional<IMouseClickEvent::Button> buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return IMouseClickEvent::Button::Button1;
    case Qt::RightButton:
        return IMouseClickEvent::Button::Button2;
    case Qt::MiddleButton:
        return IMouseClickEvent::Button::Button3;
    default:
        return std::nullopt;
    }
}

} // namespace

IMouseClickEvent::IMouseClickEvent(
    QWidget *window, Button button, Action action, Qt::KeyboardModifiers modifiers, QPoint position)
    : m_window(window)
    , m_button(button)
    , m_action(action)
    , m_modifiers(modifiers)
    , m_position(position)
{}

IMousePointerEvent::IMousePointerEvent(QWidget *window, QPoint position)
    : m_window(window)
    , m_position(position)
{}

IMouseClickHandler &IMouseClickHandler::handleEventsFor(QWidget *window)
{
    if (window) {
        window->setMouseTracking(true);
        IHandler::handleEventsFor(window);
    }
    return *this;
}

bool IMouseClickHandler::mouseClicked(IMouseClickEvent &)
{
    return false;
}

bool IMouseClickHandler::mousePointerChange(IMousePointerEvent &)
{
    return false;
}

bool IMouseClickHandler::dispatchHandlerEvent(QEvent &event)
{
    QObject *target = eventWindow();
    if (!target || !target->isWidgetType())
        return false;
    auto *window = static_cast<QWidget *>(target);
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    case QEvent::MouseMove: {
        IMousePointerEvent pointer(window, static_cast<QMouseEvent &>(event).position().toPoint());
        const bool chosen = mousePointerChange(pointer) && pointer.mousePointer();
        if (chosen) {
            window->setCursor(*pointer.mousePointer());
            m_pointerSet[target] = true;
        } else if (m_pointerSet.value(target)) {
            window->unsetCursor();
            m_pointerSet[target] = false;
        }
        return false; // moving goes on to the widget
    }
    case QEvent::Destroy:
        m_presses.remove(target);
        m_pointerSet.remove(target);
        return false;
    default:
        return false;
    }

    const auto &mouse = static_cast<QMouseEvent &>(event);
    const std::optional<IMouseClickEvent::Button> button = buttonOf(mouse.button());
    if (!button)
        return false;
    const QPoint position = mouse.position().toPoint();
    const auto dispatch = [&](IMouseClickEvent::Action action) {
        IMouseClickEvent click(window, *button, action, mouse.modifiers(), position);
        return mouseClicked(click);
    };

    if (event.type() == QEvent::MouseButtonPress) {
        m_presses[target] = {mouse.button(), position, false};
        return dispatch(IMouseClickEvent::Action::Down);
    }
    if (event.type() == QEvent::MouseButtonDblClick) {
        m_presses[target] = {mouse.button(), position, true};
        return dispatch(IMouseClickEvent::Action::DoubleClick);
    }
    const Press press = m_presses.take(target);
    bool handled = dispatch(IMouseClickEvent::Action::Up);
    if (press.button == mouse.button() && !press.doubleClick
        && (position - press.position).manhattanLength() < QApplication::startDragDistance())
        handled = dispatch(IMouseClickEvent::Action::Click) || handled;
    return handled;
}
