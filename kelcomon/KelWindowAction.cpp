#include "KelWindowAction.h"

KelWindowAction::KelWindowAction(unsigned long commandId,
                                 const QString &category,
                                 Latching latching,
                                 QObject *owner)
    : XIAction(commandId, QString(), QString(), owner)
{
    setCategory(category);
    if (latching == Latching::yes)
        enableLatching();
}
