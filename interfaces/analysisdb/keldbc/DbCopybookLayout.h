#pragma once

#include "DbUnitData.h"

#include <string>
#include <utility>
#include <vector>

/// The storage map of a copybook on its own: its entries laid out as if under a level-01 record
/// at offset 0 (the coordinates of seeds and impact queries), gathered from the program units
/// that include it. The layout shown is the first unit's plain include (no REPLACING, laid out
/// as on its own); entries that some unit's analysis finds to be date fields carry what it found
/// and which unit found it; `notes()` names the includes that lay it out differently.
class DbCopybookLayout final
{
public:
    struct Item
    {
        DbCopybookItemRecord record;
        std::vector<std::string> dateFindings; ///< "USED-AS-YEAR bytes 1-2 (PROGA, PROGB)"
    };

    /// Reads the copybook `copybook` (upper case) from the database `fileName`; empty
    /// (`items()` empty) when no unit includes it with data entries. Throws KelMsgException as
    /// DbEu::open does.
    static DbCopybookLayout load(const std::string &fileName, const std::string &copybook);
    /// The names of the copybooks with data entries recorded in `fileName`, sorted.
    static std::vector<std::string> copybooks(const std::string &fileName);

    /// Builds the layout from each unit's entries of the copybook: (program name, entries of
    /// one qualifier, in declaration order), the units in table order.
    void build(const std::string &copybook,
               const std::vector<std::pair<std::string, std::vector<DbCopybookItemRecord>>> &units);

    const std::string &copybook() const { return m_copybook; }
    const std::vector<Item> &items() const { return m_items; }
    const std::vector<std::string> &notes() const { return m_notes; }
    /// The unit whose include the layout shows.
    const std::string &shownFrom() const { return m_shownFrom; }

    /// A program unit whose only records are the copybook's (entries that are not under a
    /// level-01 are put under one named after the copybook), with a date-field mark on each
    /// entry a unit found a date in: what the data map shows.
    DbUnitData toUnitData() const;

private:
    std::string m_copybook;
    std::string m_shownFrom;
    std::vector<Item> m_items;
    std::vector<std::string> m_notes;
};
