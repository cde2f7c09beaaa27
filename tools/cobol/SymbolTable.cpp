#include "SymbolTable.h"

namespace cobol {

SymbolTable::SymbolTable(const std::vector<DataItem> &items)
    : m_items(items)
{
    for (const DataItem &item : items)
        add(item.id);
}

void SymbolTable::add(std::uint32_t id)
{
    const DataItem &item = m_items[id - 1];
    if (item.name != "FILLER")
        m_byName.insert(item.name).push_back(id);
}

const std::vector<std::uint32_t> &SymbolTable::named(std::string_view name) const
{
    static const std::vector<std::uint32_t> none;
    const std::vector<std::uint32_t> *found = m_byName.find(name);
    return found ? *found : none;
}

std::uint32_t SymbolTable::resolve(std::string_view name,
                                   const std::vector<std::string> &qualifiers,
                                   bool *ambiguous) const
{
    return resolveAmong(named(name), qualifiers, ambiguous);
}

std::uint32_t SymbolTable::resolveAmong(const std::vector<std::uint32_t> &candidates,
                                        const std::vector<std::string> &qualifiers,
                                        bool *ambiguous) const
{
    std::uint32_t found = 0;
    int matches = 0;
    for (std::uint32_t id : candidates) {
        // Each qualifier must name an ancestor, in order from the inside out. For a level-88
        // item the chain starts at its conditional variable; for a 66 item at its record.
        const DataItem *item = &m_items[id - 1];
        std::uint32_t up = item->level == 66 ? item->record : item->parent;
        std::size_t q = 0;
        while (q < qualifiers.size() && up != 0) {
            const DataItem &ancestor = m_items[up - 1];
            if (ancestor.name == qualifiers[q])
                ++q;
            up = ancestor.parent;
        }
        if (q == qualifiers.size()) {
            if (found == 0)
                found = id;
            ++matches;
        }
    }
    if (ambiguous)
        *ambiguous = matches > 1;
    return found;
}

} // namespace cobol
