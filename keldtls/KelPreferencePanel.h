#pragma once

#include "KelOptionGroup.h"

#include <QWidget>

#include <functional>
#include <vector>

class KelPreferences;
class QPushButton;
class QVBoxLayout;

/// The content of a preference page: option groups and other controls bound to one preference
/// set, a hint and the Apply, Defaults and Undo buttons.
///
/// - Apply takes the controls' values into the set and applies it (KelPreferences::applyPreferences).
/// - Defaults restores the set's defaults (KelPreferences::defaultPreferences) and shows them.
/// - Undo loads the set again from the profile and shows what is saved.
/// A set that cannot be saved is reported in a message box that names the profile file; the
/// controls keep what the user chose.
class KelPreferencePanel : public QWidget
{
    Q_OBJECT

public:
    KelPreferencePanel(KelPreferences &set, QWidget *parent = nullptr);

    KelOptionGroup *addGroup(unsigned long titleId, std::vector<KelOptionGroup::Option> options);
    /// Adds other controls; `show` sets them from the set, `take` the set from them.
    void addControls(QWidget *controls, std::function<void()> show, std::function<void()> take);
    /// Ends the panel with the hint and the buttons.
    void finish();

    /// Sets every control from the set.
    void showValues();
    /// Sets the set from every control.
    void takeValues();

    QPushButton *applyButton() const { return m_apply; }
    QPushButton *defaultsButton() const { return m_defaults; }
    QPushButton *undoButton() const { return m_undo; }

    /// Runs `save` and returns true; when it throws, shows the reason in a message box over
    /// `parent` and returns false. For every button that writes preferences.
    static bool guardedSave(QWidget *parent, const std::function<void()> &save);

signals:
    /// The set was applied (or its defaults written) successfully.
    void saved();

private:
    void apply();
    void restoreDefaults();
    void undo();

    KelPreferences &m_set;
    QVBoxLayout *m_layout;
    std::vector<KelOptionGroup *> m_groups;
    std::vector<std::function<void()>> m_show;
    std::vector<std::function<void()>> m_take;
    QPushButton *m_apply = nullptr;
    QPushButton *m_defaults = nullptr;
    QPushButton *m_undo = nullptr;
};
