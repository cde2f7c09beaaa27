#pragma once

#include "ICommandHandler.h"

class KelDesktop;

/// The desktop's command handler: its buttons (Open 0x1550, Hide Views 0x1552, Exit 0x1553,
/// Restore Views 0x1554) and its system commands (see KelDesktop). System commands of other
/// windows pass.
class KelDesktopCommandHandler : public ICommandHandler
{
    Q_OBJECT

public:
    explicit KelDesktopCommandHandler(QObject *parent = nullptr);

    void setPointer(KelDesktop *desktop) { m_desktop = desktop; }

protected:
    bool command(ICommandEvent &event) override;
    bool systemCommand(ISystemCommandEvent &event) override;

private:
    KelDesktop *m_desktop = nullptr;
};
