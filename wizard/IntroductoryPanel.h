#pragma once

#include "GenericScreenPanel.h"

class ResourceLibrary;

/// The wizard's first panel: what the conversion does and the steps ahead, as lines of text.
class IntroductoryPanel final : public GenericScreenPanel
{
    Q_OBJECT

public:
    /// Fills the panel with its lines from `resources` (KELWIZRS).
    explicit IntroductoryPanel(const ResourceLibrary &resources);
};
