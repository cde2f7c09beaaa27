#pragma once

class KelDataMapItem;

/// A one-word handle on a data map item: how the item collections and cursors carry items.
/// Copying or destroying the handle never copies or destroys the item; whoever made the item
/// owns it.
class KelDataMapPItem final
{
public:
    KelDataMapPItem() = default;
    explicit KelDataMapPItem(KelDataMapItem *item)
        : m_item(item)
    {}

    KelDataMapItem *item() const { return m_item; }
    KelDataMapItem *operator->() const { return m_item; }
    KelDataMapItem &operator*() const { return *m_item; }
    explicit operator bool() const { return m_item != nullptr; }
    bool operator==(const KelDataMapPItem &) const = default;

private:
    KelDataMapItem *m_item = nullptr;
};
