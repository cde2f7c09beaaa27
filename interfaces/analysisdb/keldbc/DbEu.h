#pragma once

#include "DbPuEntryTable.h"
#include "DbTreeInfo.h"
#include "DbUnitData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DbPu;

/// An execution unit: the program units of one conversion run, recorded in one database file
/// (`chxanalysis.db` in the run's output directory; see interfaces/analysisdb/README.md). Its
/// name is the conversion's title.
///
/// `open()` reads the execution unit and the headers of its program units; each unit's content
/// is read when the unit is loaded (`DbPu::load`). The execution unit owns its units; they live
/// as long as it does.
class DbEu final
{
public:
    /// The database file's name inside a conversion's output directory.
    static constexpr const char *databaseFileName = "chxanalysis.db";
    /// `<directory>/chxanalysis.db`.
    static std::string databasePathIn(const std::string &directory);

    /// Opens the database `fileName` read-only and reads the execution unit and the program-unit
    /// headers; the file is never changed. Throws KelMsgException with its message set when the
    /// file is missing, locked past the wait, damaged, not an analysis database, or written by
    /// another schema version (the message names the file and what was found).
    static std::unique_ptr<DbEu> open(const std::string &fileName);

    /// An execution unit over the given unit headers, in table order. `databaseIds` (the units'
    /// keys in the file) may be empty for units that are only ever given data by hand
    /// (`DbPu::loadData`), as in tests and for views built before a database exists.
    DbEu(std::string fileName,
         std::string euName,
         std::vector<DbUnitHeader> units,
         std::vector<std::int64_t> databaseIds = {});
    DbEu(const DbEu &) = delete;
    DbEu &operator=(const DbEu &) = delete;
    ~DbEu();

    /// The execution unit's display name (the conversion title).
    const std::string &euName() const { return m_name; }
    /// The database file the execution unit was read from (empty when built by hand).
    const std::string &fileName() const { return m_fileName; }
    /// The execution unit object itself, as the settings and tree views ask for it.
    DbEu &eu() { return *this; }

    /// The number of `pu` in this execution unit (1..M); 0 for null or a unit of another one.
    std::uint32_t puToNumber(const DbPu *pu) const;
    /// The unit with `number`; null when out of range.
    DbPu *numberToPu(std::uint32_t number);
    /// The first unit named `name` (table order); null when none.
    DbPu *puNamed(const std::string &name);

    DbPuEntryTable &puEntryTable() { return m_units; }
    std::size_t numberOfUnits() const { return m_units.numberOfElements(); }

    /// The root record of the execution unit's structure tree (text: the execution unit's name).
    DbTreeInfo &treeRoot() { return m_treeRoot; }

private:
    std::string m_fileName;
    std::string m_name;
    DbPuEntryTable m_units;
    DbTreeInfo m_treeRoot;
};
