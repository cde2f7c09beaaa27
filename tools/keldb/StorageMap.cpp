#include "StorageMap.h"

#include "DbSymbol.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

/// The bit offset a display text carries; false for texts that are no position.
bool bitOffset(const std::string &displayText, std::uint64_t &value)
{
    if (displayText.size() != 8 || displayText.starts_with("0E"))
        return false;
    const auto [end, error] = std::from_chars(displayText.data(),
                                              displayText.data() + displayText.size(),
                                              value,
                                              16);
    return error == std::errc() && end == displayText.data() + displayText.size();
}

} // namespace

StorageMap::StorageMap(const DbSymbol &record)
{
    // Columns are depths in the level-01 record, also when the map shows a group inside it.
    std::uint32_t column = 1;
    for (const DbSymbol *up = record.parent(); up; up = up->parent())
        ++column;
    add(record, column);
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row &a, const Row &b) {
        return a.bitOffset < b.bitOffset;
    });
}

void StorageMap::add(const DbSymbol &symbol, std::uint32_t column)
{
    std::uint64_t key = 0;
    if (symbol.level() == 88 || symbol.level() == 78 || !bitOffset(symbol.displayText(), key))
        return;
    const auto [row, added] = m_rowOf.try_emplace(key, m_rows.size());
    if (added)
        m_rows.push_back({key, {}});
    m_rows[row->second].items.push_back({&symbol, column});
    for (DbSymbol::ChildCursor cursor(symbol); cursor.isValid(); cursor.setToNext())
        add(cursor.element(), column + 1);
}

std::string StorageMap::text() const
{
    std::string out;
    for (const Row &row : m_rows) {
        char offset[32];
        std::snprintf(offset,
                      sizeof offset,
                      "%8llu",
                      static_cast<unsigned long long>(row.bitOffset / 8));
        out += offset;
        for (const Item &item : row.items) {
            out += "  " + std::to_string(item.column) + " " + item.symbol->name();
            if (item.symbol->hasOccurrences())
                out += " OCCURS " + std::to_string(item.symbol->occurrences()) + " TIMES";
        }
        out += '\n';
    }
    return out;
}
