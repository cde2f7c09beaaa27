#pragma once

#include "AnalysisData.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace cobol {

/// Data names with their qualification: finds the item a reference `NAME OF A IN B` means.
class SymbolTable final
{
public:
    explicit SymbolTable(const std::vector<DataItem> &items);

    /// The item `name` qualified by `qualifiers` (innermost first); 0 when no item matches.
    /// An ambiguous reference gives the first declared match and sets `ambiguous`.
    std::uint32_t resolve(const std::string &name,
                          const std::vector<std::string> &qualifiers,
                          bool *ambiguous = nullptr) const;

    /// Items named `name` (any qualification), in declaration order.
    const std::vector<std::uint32_t> &named(const std::string &name) const;

    /// Whether `name` is a data name, a condition name or a 78 constant.
    bool contains(const std::string &name) const { return m_byName.count(name) != 0; }

    /// Adds the item `items[id-1]` (the table refers to the vector given at construction).
    void add(std::uint32_t id);

private:
    const std::vector<DataItem> &m_items;
    std::unordered_map<std::string, std::vector<std::uint32_t>> m_byName;
};

} // namespace cobol
