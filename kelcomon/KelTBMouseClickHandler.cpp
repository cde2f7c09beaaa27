#include "KelTBMouseClickHandler.h"

KelTBMouseClickHandler::KelTBMouseClickHandler(QObject *parent)
    : IMouseClickHandler(parent)
{}

bool KelTBMouseClickHandler::mouseClicked(IMouseClickEvent &event)
{
    return event.mouseButton() == IMouseClickEvent::Button::Button2;
}

bool KelTBMouseClickHandler::mousePointerChange(IMousePointerEvent &)
{
    return false;
}
