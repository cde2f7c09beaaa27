#pragma once

#include "IProfile.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class RegisterInstance;

/// Where the preference sets keep their values: the profile "KELINI.INI" in the per-user state
/// directory, application KELRESRC 0x7023 ("Preferences"), reached through the owning window's
/// registration in the window registry (RegisterInstance::retrieveINIInteger and the like).
///
/// An owner without registration (a window that did not register, or none) reads and writes the
/// same application of the same profile directly, so preferences edited from such a window are
/// neither lost nor kept elsewhere; it only fails the owner check (ownerViewNumber() is empty).
///
/// Reading never writes. Writing throws IAccessError naming the file when the profile cannot be
/// written (a damaged profile is never overwritten, see IProfile).
class KelPreferenceStore final
{
public:
    explicit KelPreferenceStore(QWidget *owner);

    /// The preferences profile, "KELINI.INI".
    static IProfile profile();

    /// The owner window; null when there was none or it has gone.
    QWidget *owner() const { return m_owner; }

    /// The integer under `key`; -1 when absent or not an integer.
    long retrieveInteger(const QString &key) const;
    /// The text under `key`; "NULL" when absent.
    QString retrieveString(const QString &key) const;
    void saveInteger(const QString &key, long value) const;
    void saveString(const QString &key, const QString &value) const;

    /// The owner's view number from its registration; empty when the owner has no registration.
    std::optional<unsigned long> ownerViewNumber() const;

    /// The registration of `window`'s frame; empty when it has none.
    static std::optional<RegisterInstance> registrationOf(QWidget *window);

private:
    QPointer<QWidget> m_owner;
};
