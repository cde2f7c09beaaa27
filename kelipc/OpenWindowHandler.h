#pragma once

#include "IHandler.h"

class OpenWindowEvent;

/// A handler for the registry's notification event (OpenWindowEvent), with one operation per
/// code, each returning false in this class. This class dispatches nothing itself
/// (dispatchHandlerEvent returns false); OpenWindowDispatcher does. Derive from the dispatcher
/// and override the operations a view cares about, then attach it to the view's frame with
/// handleEventsFor.
class OpenWindowHandler : public IHandler
{
    Q_OBJECT

public:
    using IHandler::IHandler;

    virtual bool showRequest(OpenWindowEvent &event);
    virtual bool windowOpened(OpenWindowEvent &event);
    virtual bool windowClosed(OpenWindowEvent &event);
    virtual bool windowMessage(OpenWindowEvent &event);

    bool dispatchHandlerEvent(QEvent &event) override;
};

/// The notification handler views attach: code 0 calls windowOpened, 1 windowClosed, 2
/// showRequest and 3 windowMessage; the result becomes whether the event was handled. Other
/// events and codes pass on.
class OpenWindowDispatcher : public OpenWindowHandler
{
    Q_OBJECT

public:
    using OpenWindowHandler::OpenWindowHandler;

    bool dispatchHandlerEvent(QEvent &event) override;
};
