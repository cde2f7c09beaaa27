#pragma once

#include "KelDataMapPItem.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class DbSymbol;
class KelDataMapItem;
class KelDataMapWindow;

/// The record a data map shows: an item (KelDataMapItem) for the record and for each of its
/// subordinate items that takes storage, in declaration order, kept by key (the declaring-token
/// number). Unlike the unit's collections it holds every view of the record's bytes: REDEFINES
/// items (also of other REDEFINES) with their subordinate items, and the record's level-66
/// RENAMES entries (as items below the record). Condition names (88), constants (78) and items
/// without a position ("0E...") are left out.
///
/// Items start expanded, so the first view shows the whole storage map. Expanding and
/// collapsing change which items are visible (an item is visible when every item above it is
/// expanded); KelDataMapLayout lays the visible items out.
///
/// Items are held in declaration order with the size of their subtree, so the items below an
/// item are the ones that follow it. Std-only.
class KelDataMapRecord final
{
public:
    explicit KelDataMapRecord(DbSymbol &record, KelDataMapWindow *window = nullptr);
    ~KelDataMapRecord();
    KelDataMapRecord(const KelDataMapRecord &) = delete;
    KelDataMapRecord &operator=(const KelDataMapRecord &) = delete;

    DbSymbol &symbol() const { return *m_record; }
    /// The record's item (the first); never empty.
    KelDataMapPItem recordItem() const { return m_items.front(); }
    /// Every item in declaration order (the record first).
    const std::vector<KelDataMapPItem> &items() const { return m_items; }
    std::size_t size() const { return m_items.size(); }

    /// The item with key `key`; empty when the record has none.
    KelDataMapPItem itemWithKey(std::uint32_t key) const;
    /// The item made for `symbol`; empty when the record has none.
    KelDataMapPItem itemFor(const DbSymbol &symbol) const;
    /// Position of `item` in items(); -1 when it is not one of the record's.
    int indexOf(const KelDataMapItem *item) const;

    /// The item above the item at `index` (its group; the record for a 66); -1 for the record.
    int parentOf(int index) const { return m_parent[static_cast<std::size_t>(index)]; }
    /// The number of items below the item at `index` (they follow it in items()).
    int subtreeSize(int index) const { return m_subtree[static_cast<std::size_t>(index)]; }
    /// Whether the item at `index` has items below it.
    bool isGroup(int index) const { return subtreeSize(index) > 0; }
    /// Whether the item at `index` starts another view of storage (a REDEFINES or RENAMES item
    /// below the record): the map draws it in a pane of its own.
    bool startsPane(int index) const { return m_startsPane[static_cast<std::size_t>(index)]; }
    /// Whether every item above the one at `index` is expanded.
    bool isVisible(int index) const;

    /// Sets the expanded flag of every item.
    void setAllExpanded(int expanded);
    /// Puts the items below the one at `index` back as they were first shown (expanded).
    void resetBelow(int index);
    /// Whether some group is collapsed / expanded.
    bool anyGroupCollapsed() const;
    bool anyGroupExpanded() const;

private:
    void addSubtree(DbSymbol &top, int parent, std::uint32_t column);
    int add(DbSymbol &symbol, int parent, std::uint32_t column);

    DbSymbol *m_record;
    KelDataMapWindow *m_window;
    std::vector<std::unique_ptr<KelDataMapItem>> m_owned;
    std::vector<KelDataMapPItem> m_items;
    std::vector<int> m_parent;
    std::vector<int> m_subtree;
    std::vector<bool> m_startsPane;
    std::unordered_map<std::uint32_t, KelDataMapPItem> m_byKey;
    std::unordered_map<const DbSymbol *, int> m_indexOf;
};
