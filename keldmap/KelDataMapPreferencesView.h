#pragma once

#include "XIOpenSettings.h"

/// The data map's preferences notebook (action 0x3037, notebook 0x7002): the data map page
/// (KelDataMapPreferencesPage) with the scroll-coupling settings of the view kind, its set owned
/// by the map, so that applying it tells the map (KelDataMapWindow::preferencesChanged).
class KelDataMapPreferencesView : public XIOpenSettings
{
    Q_OBJECT

public:
    /// `map` is the window whose preferences are edited; it owns the action.
    explicit KelDataMapPreferencesView(QWidget *map);
    ~KelDataMapPreferencesView() override;

protected:
    void populateSettingsView() override;

private:
    QWidget *m_map;
};
