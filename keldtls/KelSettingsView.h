#pragma once

#include "XIOpenSettings.h"

class DbEu;
class DbPu;

/// The settings of program units: a notebook (action id 0x6018, notebook id 0x5000, modeless)
/// with one page (KelSettingsPage) per unit shown: the unit it was made for, or every unit of an
/// execution unit in unit order. Its minimum size follows the system font (DSFont).
///
/// Made on an execution unit with a current unit, it opens on the page of that unit: the page
/// of the very unit when it belongs to the execution unit, else the first page of a unit with
/// the same name (puName()).
///
/// Made with `new`, it opens its notebook at once and lives until the user closes the notebook,
/// then deletes itself; the view that opened it keeps only a QPointer. It belongs to the owner
/// window (when given) and closes with it.
class KelSettingsView : public XIOpenSettings
{
    Q_OBJECT

public:
    KelSettingsView(QWidget *owner, DbPu &pu);
    KelSettingsView(QWidget *owner, DbEu &eu, const DbPu *current = nullptr);
    ~KelSettingsView() override;

    /// The unit the view was made for; null when made on an execution unit without one.
    const DbPu *pu() const { return m_pu; }
    /// The execution unit (DbEu::eu()); null when the unit has none.
    DbEu *eu() const { return m_eu; }

protected:
    void populateSettingsView() override;
    void settingsViewClosed() override;

private:
    void open();

    const DbPu *m_pu = nullptr;
    DbEu *m_eu = nullptr;
    bool m_allUnits = false;
};
