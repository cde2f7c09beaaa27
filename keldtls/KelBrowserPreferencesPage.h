#pragma once

#include "DSSettingsPage.h"

#include <QStringList>

#include <memory>

class KelBrowserPreferences;
class KelPreferencePanel;
class QLabel;
class QListWidget;

/// The browser page of the preferences notebook (KelPreferencesView): the browser's three
/// scroll-coupling settings, its font (every font face whose name holds neither "BOLD" nor
/// "ITALIC") and size (9 to 72 points), a sample in the chosen font, and Apply, Defaults and Undo.
class KelBrowserPreferencesPage : public DSSettingsPage
{
    Q_OBJECT

public:
    /// Tab text: KELRESRC 0x7004; key 592.
    explicit KelBrowserPreferencesPage(DSSettingsView *view);
    ~KelBrowserPreferencesPage() override;

    /// The font faces the page offers: `families` without those whose upper-cased name contains
    /// "BOLD" or "ITALIC", in their order.
    static QStringList offeredFaces(const QStringList &families);

    KelBrowserPreferences &preferenceSet() const { return *m_preferences; }
    KelPreferencePanel *panel() const { return m_panel; }
    QListWidget *fontList() const { return m_fonts; }
    QListWidget *sizeList() const { return m_sizes; }
    QLabel *sample() const { return m_sample; }

protected:
    void populatePage() override;

private:
    QWidget *makeFontControls();
    void showFont();
    void takeFont();
    void updateSample();

    std::unique_ptr<KelBrowserPreferences> m_preferences;
    KelPreferencePanel *m_panel = nullptr;
    QListWidget *m_fonts = nullptr;
    QListWidget *m_sizes = nullptr;
    QLabel *m_sample = nullptr;
};
