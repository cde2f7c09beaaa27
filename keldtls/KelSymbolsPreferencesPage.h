#pragma once

#include "XISettingsPage.h"

#include <memory>

class KelSymbolsPreferences;
class KelPreferencePanel;
class QWidget;

/// The symbols view's preference page, for a notebook (XISettingsView) that the view supplies: its
/// settings as check boxes, with Apply, Defaults and Undo. The preference set is built with the
/// page, owned by `owner` (the view window), so applying it tells that view when it is one of
/// kind 595.
class KelSymbolsPreferencesPage : public XISettingsPage
{
    Q_OBJECT

public:
    explicit KelSymbolsPreferencesPage(QWidget *owner, QWidget *parent = nullptr);
    ~KelSymbolsPreferencesPage() override;

    KelSymbolsPreferences &preferenceSet() const { return *m_preferences; }
    /// The page's controls; null until the page is filled.
    KelPreferencePanel *panel() const { return m_panel; }

protected:
    void populatePage() override;

private:
    std::unique_ptr<KelSymbolsPreferences> m_preferences;
    KelPreferencePanel *m_panel = nullptr;
};
