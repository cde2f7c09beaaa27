#pragma once

#include "DbCursor.h"
#include "DbPuEntry.h"

#include <cstdint>
#include <vector>

/// The program units of an execution unit, in the order they were first recorded; entry n has
/// number n (1..M). A unit that is recorded again keeps its place.
class DbPuEntryTable final
{
public:
    class Cursor final : public DbCursor<DbPuEntry>
    {
    public:
        explicit Cursor(DbPuEntryTable &table)
            : DbCursor<DbPuEntry>(std::span<DbPuEntry>(table.m_entries))
        {}
    };

    /// The entry with `number` (1-based); null when out of range.
    DbPuEntry *entry(std::uint32_t number)
    {
        return number >= 1 && number <= m_entries.size() ? &m_entries[number - 1] : nullptr;
    }
    /// The entry with `number`; throws IInvalidRequest when out of range.
    DbPuEntry &operator[](std::uint32_t number)
    {
        if (DbPuEntry *found = entry(number))
            return *found;
        ITHROW(IInvalidRequest("There is no program unit " + std::to_string(number) + "."));
    }
    std::size_t numberOfElements() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.empty(); }

private:
    friend class DbEu;

    std::vector<DbPuEntry> m_entries;
};
