#pragma once

#include "XISettingsPage.h"

#include <memory>

class KelDataMapPreferences;
class KelPreferencePanel;
class QWidget;

/// The data map's preference page, for a notebook (XISettingsView) that the view supplies: its
/// settings as check boxes, with Apply, Defaults and Undo. The preference set is built with the
/// page, owned by `owner` (the view window), so applying it tells that view when it is one of
/// kind 596.
class KelDataMapPreferencesPage : public XISettingsPage
{
    Q_OBJECT

public:
    explicit KelDataMapPreferencesPage(QWidget *owner, QWidget *parent = nullptr);
    ~KelDataMapPreferencesPage() override;

    KelDataMapPreferences &preferenceSet() const { return *m_preferences; }
    /// The page's controls; null until the page is filled.
    KelPreferencePanel *panel() const { return m_panel; }

protected:
    void populatePage() override;

private:
    std::unique_ptr<KelDataMapPreferences> m_preferences;
    KelPreferencePanel *m_panel = nullptr;
};
