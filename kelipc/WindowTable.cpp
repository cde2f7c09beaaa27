#include "WindowTable.h"

#include <algorithm>
#include <cstring>

std::string_view WindowTable::storedObjectId(std::string_view objectId)
{
    if (objectId.size() <= WindowEntry::maxObjectIdLength)
        return objectId;
    std::size_t length = WindowEntry::maxObjectIdLength;
    // Back up over continuation bytes so that no character is cut in half.
    while (length > 0 && (static_cast<unsigned char>(objectId[length]) & 0xC0) == 0x80)
        --length;
    return objectId.substr(0, length);
}

int WindowTable::compareObjectIds(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    if (const int order = common ? std::memcmp(a.data(), b.data(), common) : 0; order != 0)
        return order;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool WindowTable::isAllocated(int number) const
{
    return number >= 1 && number <= m_slotCount && !m_slots[number].onFreeList;
}

bool WindowTable::isCurrent(SlotRef ref) const
{
    return isAllocated(ref.slot) && m_slots[ref.slot].generation == ref.generation;
}

int WindowTable::indexOf(SlotRef ref) const
{
    if (!isCurrent(ref) || !m_slots[ref.slot].inUse)
        return -1;
    return m_slots[ref.slot].index;
}

WindowTable::SlotRef WindowTable::allocateSlot(int index, bool inUse, std::uint32_t processId)
{
    int number;
    if (m_freeSlot != -1) {
        number = m_freeSlot;
        m_freeSlot = m_slots[number].nextFree;
    } else {
        number = ++m_slotCount;
    }
    WindowSlot &slot = m_slots[number];
    slot.inUse = inUse ? 1 : 0;
    slot.index = index;
    slot.nextFree = -1;
    slot.processId = processId;
    slot.onFreeList = false;
    return {number, slot.generation};
}

void WindowTable::setSlot(SlotRef ref, int index, bool inUse)
{
    if (!isCurrent(ref))
        return;
    m_slots[ref.slot].index = index;
    m_slots[ref.slot].inUse = inUse ? 1 : 0;
}

void WindowTable::freeSlot(SlotRef ref)
{
    if (!isCurrent(ref))
        return;
    WindowSlot &slot = m_slots[ref.slot];
    slot.inUse = 0;
    slot.index = -1;
    slot.onFreeList = true;
    ++slot.generation;
    slot.nextFree = m_freeSlot;
    m_freeSlot = ref.slot;
}

int WindowTable::insert(const WindowEntry &entry)
{
    const std::string_view id = entry.objectIdView();
    int k = m_count;
    while (k > 0) {
        const WindowEntry &below = m_entries[k - 1];
        int order = compareObjectIds(id, below.objectIdView());
        if (order == 0)
            order = entry.view < below.view ? -1 : (entry.view > below.view ? 1 : 0);
        if (order >= 0)
            break;
        m_entries[k] = below;
        --k;
    }
    for (int s = 1; s <= m_slotCount; ++s) {
        if (m_slots[s].index >= k)
            ++m_slots[s].index;
    }
    m_entries[k] = entry;
    ++m_count;
    return k;
}

void WindowTable::removeAt(int index)
{
    for (int i = index; i + 1 < m_count; ++i)
        m_entries[i] = m_entries[i + 1];
    --m_count;
    m_entries[m_count] = WindowEntry{};
    for (int s = 1; s <= m_slotCount; ++s) {
        WindowSlot &slot = m_slots[s];
        if (slot.onFreeList)
            continue;
        if (slot.index == index)
            slot.inUse = 0;
        else if (slot.index > index)
            --slot.index;
    }
}

void WindowTable::initialise()
{
    m_count = 0;
    m_slotCount = 0;
    m_freeSlot = -1;
}

void WindowTable::purgeProcess(std::uint32_t processId)
{
    if (m_count == 0 && m_slotCount == 0)
        initialise();
    for (int i = m_count - 1; i >= 0; --i) {
        if (m_entries[i].processId == processId)
            removeAt(i);
    }
    for (int s = 1; s <= m_slotCount; ++s) {
        if (!m_slots[s].onFreeList && m_slots[s].processId == processId)
            freeSlot({s, m_slots[s].generation});
    }
}

int WindowTable::firstWithObject(std::string_view objectId) const
{
    const std::string_view id = storedObjectId(objectId);
    int low = 0;
    int high = m_count - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = compareObjectIds(id, m_entries[middle].objectIdView());
        if (order == 0) {
            int first = middle;
            while (first > 0 && compareObjectIds(id, m_entries[first - 1].objectIdView()) == 0)
                --first;
            return first;
        }
        if (order < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

int WindowTable::firstWithObjectAndView(std::string_view objectId, unsigned long view) const
{
    int i = firstWithObject(objectId);
    if (i < 0)
        return -1;
    const std::string_view id = storedObjectId(objectId);
    while (i < m_count && compareObjectIds(id, m_entries[i].objectIdView()) == 0
           && m_entries[i].view < view)
        ++i;
    if (i < m_count && compareObjectIds(id, m_entries[i].objectIdView()) == 0
        && m_entries[i].view == view)
        return i;
    return -1;
}
