#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class DbSymbol;

/// The storage layout of a record as the data map lays it out: one row per distinct position
/// (the items' display texts, bit offsets from the record's first byte), and in each row the
/// items that start there with their column (their depth, the level-01 record in column 1), in
/// declaration order. A map of a group inside a record shows that group's items, with the
/// record's offsets and columns. Items without storage (level 88, level 78, display texts "0E...") are left
/// out; REDEFINES and FILLER items are shown where they lie.
class StorageMap final
{
public:
    struct Item
    {
        const DbSymbol *symbol = nullptr;
        std::uint32_t column = 1;
    };
    struct Row
    {
        std::uint64_t bitOffset = 0; ///< the row key: the display text's value
        std::vector<Item> items;
    };

    /// The map of `record` (any item) and its subordinate items.
    explicit StorageMap(const DbSymbol &record);

    const std::vector<Row> &rows() const { return m_rows; }

    /// The map as text: per row the byte offset (key / 8) right-aligned in 8 characters, then
    /// each item as two blanks, its column, a blank and its name, followed by
    /// " OCCURS n TIMES" when it occurs. Each line ends with a newline.
    std::string text() const;

private:
    void add(const DbSymbol &symbol, std::uint32_t column);

    std::vector<Row> m_rows;
    std::unordered_map<std::uint64_t, std::size_t> m_rowOf; ///< key -> position while building
};
