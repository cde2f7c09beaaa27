#pragma once

#include "IMouseClickHandler.h"

/// The mouse-click handler of a view's tool bar and its buttons: button 2 does nothing there
/// (every button-2 event is taken), everything else goes on to the buttons.
class KelTBMouseClickHandler : public IMouseClickHandler
{
    Q_OBJECT

public:
    explicit KelTBMouseClickHandler(QObject *parent = nullptr);

protected:
    bool mouseClicked(IMouseClickEvent &event) override;
    bool mousePointerChange(IMousePointerEvent &event) override;
};
