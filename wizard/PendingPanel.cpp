#include "PendingPanel.h"

PendingPanel::PendingPanel(const QString &name)
    : GenericScreenPanel(name)
{
    addLine(QStringLiteral("<b>") + name);
    addLine();
    addLine(QStringLiteral("This page of the wizard is not built yet. Press Next to go on."));
}
