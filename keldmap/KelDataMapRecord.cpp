#include "KelDataMapRecord.h"

#include "DbPu.h"
#include "DbSymbol.h"
#include "KelDataMapItem.h"
#include "KelPuSmCursor.h"

namespace {

constexpr std::uint32_t renamesLevel = 66;

} // namespace

KelDataMapRecord::KelDataMapRecord(DbSymbol &record, KelDataMapWindow *window)
    : m_record(&record)
    , m_window(window)
{
    // The record itself is always shown, even when it has no position of its own.
    add(record, -1, 1);
    addSubtree(record, 0, 2);
    // Level-66 entries hang below their record without being its children.
    if (DbPu *pu = record.pPu())
        for (KelPuSmCursor cursor(*pu); cursor.isValid(); cursor.setToNext()) {
            DbSymbol &symbol = cursor.element();
            if (symbol.level() == renamesLevel && symbol.record() == &record && &symbol != &record)
                addSubtree(symbol, -2, 2);
        }
    // Subtree sizes, from the back: each item adds its own subtree to its parent's.
    m_subtree.assign(m_items.size(), 0);
    for (std::size_t i = m_items.size(); i-- > 1;)
        m_subtree[static_cast<std::size_t>(m_parent[i])] += m_subtree[i] + 1;
    for (const KelDataMapPItem &item : m_items)
        item->setExpanded(1);
}

KelDataMapRecord::~KelDataMapRecord() = default;

int KelDataMapRecord::add(DbSymbol &symbol, int parent, std::uint32_t column)
{
    auto item = std::make_unique<KelDataMapItem>(symbol, m_window);
    if (parent >= 0 && !item->takesStorage())
        return -1;
    const int index = static_cast<int>(m_items.size());
    item->setColumn(column);
    item->setRoot(symbol.hasBaseSymbol() ? 0 : 1);
    const KelDataMapPItem handle(item.get());
    m_owned.push_back(std::move(item));
    m_items.push_back(handle);
    m_parent.push_back(parent);
    m_startsPane.push_back(parent >= 0 && symbol.hasBaseSymbol());
    if (handle->key() != 0)
        m_byKey.try_emplace(handle->key(), handle);
    m_indexOf.emplace(&symbol, index);
    return index;
}

void KelDataMapRecord::addSubtree(DbSymbol &top, int parent, std::uint32_t column)
{
    // Depth first in declaration order, with an explicit stack: nesting depth is not bounded by
    // the call stack. A parent of -2 means "the record", for entries that are not its children.
    struct Pending
    {
        DbSymbol *symbol;
        int parent;
        std::uint32_t column;
    };
    std::vector<Pending> stack;
    if (&top == m_record) {
        const auto &children = top.children();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.push_back({*child, parent, column});
    } else {
        stack.push_back({&top, parent == -2 ? 0 : parent, column});
    }
    while (!stack.empty()) {
        const Pending next = stack.back();
        stack.pop_back();
        if (m_indexOf.contains(next.symbol))
            continue; // a damaged symbol tree that leads back to an item already shown
        const int index = add(*next.symbol, next.parent, next.column);
        if (index < 0)
            continue;
        const auto &children = next.symbol->children();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.push_back({*child, index, next.column + 1});
    }
}

KelDataMapPItem KelDataMapRecord::itemWithKey(std::uint32_t key) const
{
    const auto found = m_byKey.find(key);
    return found == m_byKey.end() ? KelDataMapPItem() : found->second;
}

KelDataMapPItem KelDataMapRecord::itemFor(const DbSymbol &symbol) const
{
    const auto found = m_indexOf.find(&symbol);
    return found == m_indexOf.end() ? KelDataMapPItem()
                                    : m_items[static_cast<std::size_t>(found->second)];
}

int KelDataMapRecord::indexOf(const KelDataMapItem *item) const
{
    if (!item)
        return -1;
    const auto found = m_indexOf.find(&item->symbol());
    if (found == m_indexOf.end() || m_items[static_cast<std::size_t>(found->second)].item() != item)
        return -1;
    return found->second;
}

bool KelDataMapRecord::isVisible(int index) const
{
    for (int up = parentOf(index); up >= 0; up = parentOf(up))
        if (!m_items[static_cast<std::size_t>(up)]->expanded())
            return false;
    return true;
}

void KelDataMapRecord::setAllExpanded(int expanded)
{
    for (const KelDataMapPItem &item : m_items)
        item->setExpanded(expanded);
}

void KelDataMapRecord::resetBelow(int index)
{
    const int end = index + subtreeSize(index);
    for (int i = index + 1; i <= end; ++i)
        m_items[static_cast<std::size_t>(i)]->setExpanded(1);
}

bool KelDataMapRecord::anyGroupCollapsed() const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_subtree[i] > 0 && !m_items[i]->expanded())
            return true;
    return false;
}

bool KelDataMapRecord::anyGroupExpanded() const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_subtree[i] > 0 && m_items[i]->expanded())
            return true;
    return false;
}
