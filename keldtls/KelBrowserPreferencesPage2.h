#pragma once

#include "DSSettingsPage.h"
#include "KelTokenAttribute.h"

#include <array>
#include <memory>

class KelBrowserPreferences;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

/// The token colour page of the preferences notebook (KelPreferencesView): how the source
/// browser draws each of the ten token types.
///
/// The page edits a working copy of the ten token-attribute words. Choosing a token type shows
/// its word in the controls: four style check boxes (bits 15 to 12), and the text and
/// background colour in a 16-colour palette (the radio buttons choose which of the two the
/// palette shows and sets). The sample draws the controls' settings as they change. The buttons:
/// Change gives the chosen type the controls' settings, All Types gives them to all ten types,
/// Defaults puts all ten back to their default words, Reset to the words loaded from the profile;
/// Apply writes the working copy (KelBrowserPreferences::applyPreferences2). Nothing is written
/// before Apply.
class KelBrowserPreferencesPage2 : public DSSettingsPage
{
    Q_OBJECT

public:
    using Word = KelTokenAttribute::Word;
    using Words = KelTokenAttribute::Words;
    enum class Ground { text, background };

    /// Tab text: KELRESRC 0xE042; key 594; a minor tab in the browser's section.
    explicit KelBrowserPreferencesPage2(DSSettingsView *view);
    ~KelBrowserPreferencesPage2() override;

    KelBrowserPreferences &preferenceSet() const { return *m_preferences; }
    /// The working copy of the ten words.
    const Words &workingCopy() const { return m_working; }
    /// The word the controls show now.
    Word controlsWord() const { return m_controls; }
    int selectedTokenType() const;

    // Controls, for tests and for keyboard users' accessibility names; null until filled.
    QListWidget *tokenList() const { return m_tokens; }
    QCheckBox *styleBox(KelTokenAttribute::Style style) const;
    QRadioButton *groundChoice(Ground ground) const;
    QAbstractButton *swatch(int colour) const;
    QLabel *sample() const { return m_sample; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *allButton() const { return m_all; }
    QPushButton *defaultButton() const { return m_default; }
    QPushButton *resetButton() const { return m_reset; }
    QPushButton *applyButton() const { return m_apply; }

protected:
    void populatePage() override;

private:
    QWidget *makeStyleGroup();
    QWidget *makeColourGroup();
    QWidget *makeButtons();

    void fillTokenList();
    void tokenChosen();
    void styleToggled();
    void colourChosen(int colour);
    void changeColour();
    void applyToAll();
    void restoreDefaults();
    void resetToLoaded();
    void apply();

    void updateCheckBoxes();
    void updateGroundColor();
    void updatePalette();
    void updateButtons();
    void updateSample();
    void updateTokenItems();

    Ground ground() const;

    std::unique_ptr<KelBrowserPreferences> m_preferences;
    Words m_working{};
    Word m_controls = 0;

    QListWidget *m_tokens = nullptr;
    std::array<QCheckBox *, 4> m_styles{};
    QRadioButton *m_textChoice = nullptr;
    QRadioButton *m_backgroundChoice = nullptr;
    QButtonGroup *m_palette = nullptr;
    QLabel *m_sample = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_all = nullptr;
    QPushButton *m_default = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_apply = nullptr;
};
