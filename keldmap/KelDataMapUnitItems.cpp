#include "KelDataMapUnitItems.h"

#include "DbPu.h"
#include "DbSymbol.h"
#include "KelDataMapItem.h"
#include "KelPuSmCursor.h"

KelDataMapUnitItems::KelDataMapUnitItems(DbPu &pu, KelDataMapWindow *window)
    : m_window(window)
{
    m_owned.reserve(pu.numberOfSymbols());
    m_items.reserve(pu.numberOfSymbols());
    m_byKey.reserve(pu.numberOfSymbols());
    for (KelPuSmCursor cursor(pu); cursor.isValid(); cursor.setToNext()) {
        DbSymbol &symbol = cursor.element();
        if (symbol.isRecordStart())
            walk(symbol, 1);
    }
}

KelDataMapUnitItems::~KelDataMapUnitItems() = default;

void KelDataMapUnitItems::walk(DbSymbol &symbol, std::uint32_t column)
{
    if (symbol.hasBaseSymbol())
        return;
    // Iterative over the subordinate items, so that deep nesting cannot exhaust the stack.
    struct Pending
    {
        DbSymbol *symbol;
        std::uint32_t column;
    };
    std::vector<Pending> stack{{&symbol, column}};
    while (!stack.empty()) {
        const Pending next = stack.back();
        stack.pop_back();
        auto item = std::make_unique<KelDataMapItem>(*next.symbol, m_window);
        item->setRoot(1);
        item->setColumn(next.column);
        const KelDataMapPItem handle(item.get());
        if (next.symbol->level() != 88 && !item->displayText().starts_with("0E")) {
            m_owned.push_back(std::move(item));
            m_items.push_back(handle);
            if (handle->key() != 0)
                m_byKey.try_emplace(handle->key(), handle);
            m_byName.emplace(std::string_view(handle->name()), handle);
            if (next.column == 1) {
                m_records.push_back(handle);
                m_recordOf.emplace(next.symbol, handle);
            }
        }
        const auto &children = next.symbol->children();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            if (!(*child)->hasBaseSymbol())
                stack.push_back({*child, next.column + 1});
    }
}

KelDataMapPItem KelDataMapUnitItems::itemWithKey(std::uint32_t key) const
{
    const auto found = m_byKey.find(key);
    return found == m_byKey.end() ? KelDataMapPItem() : found->second;
}

std::vector<KelDataMapPItem> KelDataMapUnitItems::itemsNamed(const std::string &name) const
{
    std::vector<KelDataMapPItem> named;
    const auto [first, last] = m_byName.equal_range(name);
    for (auto it = first; it != last; ++it)
        named.push_back(it->second);
    return named;
}

KelDataMapPItem KelDataMapUnitItems::recordItem(const DbSymbol &record) const
{
    const auto found = m_recordOf.find(&record);
    return found == m_recordOf.end() ? KelDataMapPItem() : found->second;
}
