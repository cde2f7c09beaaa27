#pragma once

#include "GenericScreenPanel.h"

/// Stands in for a panel of the wizard that is not built yet: it says so and lets the user go
/// on. Replaced by the file selection, seed file and summary panels as they arrive.
class PendingPanel final : public GenericScreenPanel
{
    Q_OBJECT

public:
    explicit PendingPanel(const QString &name);
};
