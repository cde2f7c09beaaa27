#pragma once

#include "DSSettingsPage.h"

#include <memory>

class KelGrapherPreferences;
class KelPreferencePanel;

/// The grapher page of the preferences notebook (KelPreferencesView): the grapher's eight
/// settings as check boxes in two groups (scroll coupling, display), with Apply, Defaults and
/// Undo. Its preference set is built with the page, owned by the notebook's owner window.
class KelGrapherPreferencesPage : public DSSettingsPage
{
    Q_OBJECT

public:
    /// Tab text: KELRESRC 0x7003; key 593.
    explicit KelGrapherPreferencesPage(DSSettingsView *view);
    ~KelGrapherPreferencesPage() override;

    KelGrapherPreferences &preferenceSet() const { return *m_preferences; }
    /// The page's controls; null until the page is filled.
    KelPreferencePanel *panel() const { return m_panel; }

protected:
    void populatePage() override;

private:
    std::unique_ptr<KelGrapherPreferences> m_preferences;
    KelPreferencePanel *m_panel = nullptr;
};
