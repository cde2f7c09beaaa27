#include "WindowPlacement.h"

#include "ISystemCommandEvent.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlacement {

PlacementValue::State stateOf(const QWidget *window)
{
    if (window->isMinimized())
        return PlacementValue::State::Minimized;
    if (window->isMaximized())
        return PlacementValue::State::Maximized;
    return PlacementValue::State::Normal;
}

PlacementValue current(const QWidget *window)
{
    const QRect frame = window->geometry();
    PlacementValue value;
    value.x1 = frame.x();
    value.y1 = frame.y();
    value.x2 = frame.x() + frame.width();
    value.y2 = frame.y() + frame.height();
    value.state = stateOf(window);
    return value;
}

QRect onSomeScreen(const QRect &rectangle)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        if (screen->availableGeometry().intersects(rectangle))
            return rectangle;
    }
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return rectangle;
    const QRect area = primary->availableGeometry();
    QRect moved(QPoint(0, 0),
                QSize(qMin(rectangle.width(), area.width()),
                      qMin(rectangle.height(), area.height())));
    moved.moveCenter(area.center());
    return moved;
}

bool applyRectangle(QWidget *window, const PlacementValue &value)
{
    if (!value.hasArea())
        return false;
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        ISystemCommandEvent::performDefault(window, ISystemCommand::Restore);
    const QRect rectangle(static_cast<int>(value.left()),
                          static_cast<int>(value.top()),
                          static_cast<int>(value.width()),
                          static_cast<int>(value.height()));
    window->setGeometry(onSomeScreen(rectangle));
    return true;
}

void applyState(QWidget *window, PlacementValue::State state)
{
    switch (state) {
    case PlacementValue::State::Normal:
        break;
    case PlacementValue::State::Minimized:
        ISystemCommandEvent::performDefault(window, ISystemCommand::Minimize);
        break;
    case PlacementValue::State::Maximized:
        ISystemCommandEvent::performDefault(window, ISystemCommand::Maximize);
        break;
    }
}

} // namespace WindowPlacement
