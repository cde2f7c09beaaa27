#pragma once

#include "ICommandHandler.h"

class KelWindow;

/// Keeps a view window whose "basic" command runs from going away under the command: a Close
/// (from theEnd, the title bar, the desktop) while the worker runs hides the window at once and
/// closes it when the command has finished. Attached to the window by the window itself, so a
/// view's own systemCommand override cannot skip it.
class KelCloseGuard final : public ICommandHandler
{
    Q_OBJECT

public:
    explicit KelCloseGuard(KelWindow *window);

protected:
    bool systemCommand(ISystemCommandEvent &event) override;

private:
    KelWindow *m_window;
};
