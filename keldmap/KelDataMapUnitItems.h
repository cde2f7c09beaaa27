#pragma once

#include "KelDataMapPItem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class DbPu;
class DbSymbol;
class KelDataMapItem;
class KelDataMapWindow;

/// The data items of a program unit as the data map knows them, filled once when the map
/// opens: every record of the unit (a level-01 or level-77 item) and, walked recursively in
/// declaration order, its subordinate items.
///
/// - An item that describes the storage of another again (it has a base symbol: REDEFINES,
///   RENAMES) is passed over with its subordinate items; so is a record that redefines another.
///   The map still draws them in their record (KelDataMapRecord); the collections are the unit's
///   storage proper.
/// - Condition names (level 88) and items whose display text begins with "0E" (no storage) are
///   walked but not added.
///
/// Four collections carry the same items: in walk order, by key (declaring-token number), the
/// records, and by name (for finding). The object owns the items. Std-only.
class KelDataMapUnitItems final
{
public:
    /// Walks the symbols of the loaded unit `pu`; an unloaded unit gives empty collections.
    explicit KelDataMapUnitItems(DbPu &pu, KelDataMapWindow *window = nullptr);
    ~KelDataMapUnitItems();
    KelDataMapUnitItems(const KelDataMapUnitItems &) = delete;
    KelDataMapUnitItems &operator=(const KelDataMapUnitItems &) = delete;

    /// Every item, in walk order (records in declaration order, each followed by its items).
    const std::vector<KelDataMapPItem> &items() const { return m_items; }
    /// The records, in declaration order.
    const std::vector<KelDataMapPItem> &records() const { return m_records; }
    /// The item with key `key` (a declaring-token number); empty when there is none.
    KelDataMapPItem itemWithKey(std::uint32_t key) const;
    bool containsKey(std::uint32_t key) const { return m_byKey.contains(key); }
    /// The items named `name` (upper case, as declared).
    std::vector<KelDataMapPItem> itemsNamed(const std::string &name) const;
    /// The record item for the record start `record`; empty when it is not among the records.
    KelDataMapPItem recordItem(const DbSymbol &record) const;

private:
    void walk(DbSymbol &symbol, std::uint32_t column);

    KelDataMapWindow *m_window;
    std::vector<std::unique_ptr<KelDataMapItem>> m_owned;
    std::vector<KelDataMapPItem> m_items;
    std::vector<KelDataMapPItem> m_records;
    std::unordered_map<std::uint32_t, KelDataMapPItem> m_byKey;
    /// Keyed by the symbols' own names, which live as long as the unit.
    std::multimap<std::string_view, KelDataMapPItem> m_byName;
    std::unordered_map<const DbSymbol *, KelDataMapPItem> m_recordOf;
};
