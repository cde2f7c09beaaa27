#pragma once

#include "DbCursor.h"
#include "DbInputFile.h"

#include <vector>

/// The files of one program unit: the program source first, then every copybook it read, once
/// each, in the order they were first read. Empty until the unit is loaded.
class DbInputFileTable final
{
public:
    class Cursor final : public DbCursor<DbInputFile>
    {
    public:
        explicit Cursor(DbInputFileTable &table)
            : DbCursor<DbInputFile>(std::span<DbInputFile>(table.m_files))
        {}
    };

    std::size_t numberOfElements() const { return m_files.size(); }
    bool isEmpty() const { return m_files.empty(); }
    /// The file at `position` (1-based); null when out of range.
    DbInputFile *file(std::size_t position)
    {
        return position >= 1 && position <= m_files.size() ? &m_files[position - 1] : nullptr;
    }

private:
    friend class DbPu;

    std::vector<DbInputFile> m_files;
};
