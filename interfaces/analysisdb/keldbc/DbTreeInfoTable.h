#pragma once

#include "DbCursor.h"
#include "DbTreeInfo.h"

#include <cstdint>
#include <vector>

/// The structure-tree records of one program unit, indexed by id (1..R); record 1 is the
/// unit's root. Empty until the unit is loaded.
class DbTreeInfoTable final
{
public:
    /// Walks the records in id order.
    class Cursor final : public DbCursor<DbTreeInfo>
    {
    public:
        explicit Cursor(DbTreeInfoTable &table)
            : DbCursor<DbTreeInfo>(std::span<DbTreeInfo>(table.m_records))
        {}
    };

    /// The record with `id`; null when out of range.
    DbTreeInfo *treeInfo(std::uint32_t id)
    {
        return id >= 1 && id <= m_records.size() ? &m_records[id - 1] : nullptr;
    }
    /// The record with `id`; throws IInvalidRequest when out of range.
    DbTreeInfo &operator[](std::uint32_t id)
    {
        if (DbTreeInfo *record = treeInfo(id))
            return *record;
        ITHROW(IInvalidRequest("There is no tree record " + std::to_string(id) + "."));
    }
    /// The id of `record` in this table; 0 when it is not one of its records.
    std::uint32_t toId(const DbTreeInfo *record) const
    {
        if (!record || m_records.empty() || record < m_records.data()
            || record >= m_records.data() + m_records.size())
            return 0;
        return static_cast<std::uint32_t>(record - m_records.data()) + 1;
    }
    std::size_t numberOfElements() const { return m_records.size(); }
    bool isEmpty() const { return m_records.empty(); }

private:
    friend class DbPu;

    std::vector<DbTreeInfo> m_records;
};
