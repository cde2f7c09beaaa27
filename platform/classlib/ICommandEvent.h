#pragma once

#include "IUserEvent.h"

class QWidget;

/// A command: the id of the action chosen from a menu, a tool bar, an accelerator or a push
/// button, delivered to the window that owns it (type IEventTypes::command). XIAction sends one
/// when it is triggered; a frame or an ICommandHandler that performs the command marks it
/// handled, otherwise the action performs itself.
class ICommandEvent : public IUserEvent
{
public:
    enum class Source : unsigned long {
        Menu = 1,
        ToolBar = 2,
        PushButton = 3,
        Accelerator = 4,
        Other = 0
    };

    explicit ICommandEvent(unsigned long commandId, Source source = Source::Other);

    unsigned long commandId() const { return parameter1(); }
    Source source() const { return static_cast<Source>(parameter2()); }

    /// Sends the command to `window` now; true when a receiver handled it.
    static bool send(QWidget *window, unsigned long commandId, Source source = Source::Other);
};
