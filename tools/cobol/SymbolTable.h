#pragma once

#include "AnalysisData.h"
#include "WordTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// Data names with their qualification: finds the item a reference `NAME OF A IN B` means.
class SymbolTable final
{
public:
    explicit SymbolTable(const std::vector<DataItem> &items);

    /// The item `name` qualified by `qualifiers` (innermost first); 0 when no item matches.
    /// An ambiguous reference gives the first declared match and sets `ambiguous`.
    std::uint32_t resolve(std::string_view name,
                          const std::vector<std::string> &qualifiers,
                          bool *ambiguous = nullptr) const;

    /// The item among `candidates` (items of one name, as `named` gives them) qualified by
    /// `qualifiers`, as `resolve` finds it: for a caller that has looked the name up already.
    std::uint32_t resolveAmong(const std::vector<std::uint32_t> &candidates,
                               const std::vector<std::string> &qualifiers,
                               bool *ambiguous = nullptr) const;

    /// Items named `name` (any qualification), in declaration order.
    const std::vector<std::uint32_t> &named(std::string_view name) const;

    /// Whether `name` is a data name, a condition name or a 78 constant.
    bool contains(std::string_view name) const { return m_byName.contains(name); }

    /// Adds the item `items[id-1]` (the table refers to the vector given at construction).
    void add(std::uint32_t id);

private:
    const std::vector<DataItem> &m_items;
    WordTable<std::vector<std::uint32_t>> m_byName;
};

} // namespace cobol
