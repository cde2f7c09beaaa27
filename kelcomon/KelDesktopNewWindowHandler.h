#pragma once

#include "IHandler.h"

/// The desktop's handler of the create-window event 0x9988: it has the desktop make the windows
/// of the ready requests (KelDesktop::createWindow) and answers with its result (1 when a
/// request was taken).
class KelDesktopNewWindowHandler : public IHandler
{
    Q_OBJECT

public:
    explicit KelDesktopNewWindowHandler(QObject *parent = nullptr);

protected:
    bool dispatchHandlerEvent(QEvent &event) override;
};
