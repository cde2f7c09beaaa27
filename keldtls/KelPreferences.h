#pragma once

#include "KelPreferenceStore.h"

#include <QString>

#include <vector>

class QWidget;

/// The base of the four preference sets (KelBrowserPreferences, KelGrapherPreferences,
/// KelSymbolsPreferences, KelDataMapPreferences): a small record of one view kind's preferences
/// that loads itself from the profile when built, saves itself on apply and then tells the views.
///
/// Keys: "Kel" + the view name (the user resource library's string viewNameId()) + a suffix:
/// "KelDataMap_reqScrl". Booleans are stored as the integers 0 and 1; any other value, and a
/// missing key, reads as the setting's default. Reading never writes: a damaged value stays in
/// the profile until the set is applied.
///
/// Telling the views: after applyPreferences() the owner's preferencesChanged() hook is called,
/// but only when the owner's registration has the set's view number (the owner check: a page
/// opened for one kind of view never refreshes a view of another kind); every other registered
/// window of the set's view number is told as well. Hooks are called by name through Qt's
/// meta-object system (KelWindow declares them Q_INVOKABLE); a window without them is not told.
class KelPreferences
{
public:
    virtual ~KelPreferences();
    KelPreferences(const KelPreferences &) = delete;
    KelPreferences &operator=(const KelPreferences &) = delete;

    /// The owning window; null when there was none or it has gone.
    QWidget *owner() const { return m_store.owner(); }
    /// The view number of the set's kind (592 browser, 593 grapher, 595 symbols, 596 data map).
    unsigned long viewNumber() const { return m_viewNumber; }
    /// The resource id of the kind's view name (0x7000 ... 0x7004).
    unsigned long viewNameId() const { return m_viewNameId; }
    /// "Kel" + view name + `suffix`.
    QString key(const QString &suffix) const;

    /// Loads every key of the set.
    virtual void preferences();
    /// Saves every key in key-table order, then tells the owner (when it passes the owner check)
    /// and the other views of the set's kind. Throws IAccessError naming the file when the
    /// profile cannot be written; the set keeps its values.
    virtual void applyPreferences();
    /// Restores the defaults: writes them straight to the profile without telling any view
    /// (the browser set differs, see KelBrowserPreferences).
    virtual void defaultPreferences();

    /// Whether the owner's registration has the set's view number.
    bool ownerHasViewNumber() const;

protected:
    /// A boolean setting: its key suffix, its default and the member that holds it.
    struct Flag
    {
        const char *suffix;
        bool defaultValue;
        bool *value;
    };

    KelPreferences(QWidget *owner, unsigned long viewNumber, unsigned long viewNameId);

    /// The set's booleans in key-table order.
    virtual std::vector<Flag> flags() = 0;

    const KelPreferenceStore &store() const { return m_store; }
    void loadFlags();
    void saveFlags();
    void resetFlags();
    /// Calls the hook `method` ("preferencesChanged", "coloursChanged") of the owner, when it
    /// passes the owner check, and of every other registered window of the set's view number.
    void tellViews(const char *method) const;

private:
    KelPreferenceStore m_store;
    unsigned long m_viewNumber;
    unsigned long m_viewNameId;
};
