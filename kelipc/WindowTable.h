#pragma once

#include <array>
#include <cstdint>
#include <string_view>

class DbEu;
class DbPu;
class QMainWindow;

/// One registered window: its handle, object id, view number, the process that registered it,
/// the analysed objects it shows and its frame.
struct WindowEntry
{
    static constexpr std::size_t maxObjectIdLength = 128;

    unsigned long handle = 0;
    /// NUL-terminated, at most maxObjectIdLength bytes.
    char objectId[maxObjectIdLength + 1] = {};
    unsigned long view = 0;
    std::uint32_t processId = 0;
    DbEu *eu = nullptr;
    DbPu *pu = nullptr;
    QMainWindow *frame = nullptr;

    std::string_view objectIdView() const { return objectId; }
};

/// A stable name for an entry: entries move inside the sorted table, slots do not, and every
/// move renumbers the slots that designate the moved entries.
struct WindowSlot
{
    /// 1 while the slot designates a live entry.
    int inUse = 0;
    /// Position of the designated entry, -1 for none.
    int index = -1;
    /// Next slot on the free list, -1 for none.
    int nextFree = -1;
    std::uint32_t processId = 0;
    /// Counts the times the slot was freed, so that a holder of a freed (and perhaps reused)
    /// slot can tell that it is no longer its slot.
    std::uint32_t generation = 0;
    bool onFreeList = false;
};

/// The window table of the registry: at most 256 entries kept sorted by object id (bytes) and
/// view number, equal keys in arrival order, and 512 slots, numbered 1 to 512, that name entries
/// stably (slot 0 is never handed out). Fixed-size storage that can live in static memory:
/// nothing is allocated per registration.
///
/// Std-only and without a lock: the registry (RegisterInstance, FindLikeObject) guards it.
class WindowTable final
{
public:
    static constexpr int capacity = 256;
    static constexpr int slotCapacity = 512;

    /// A slot as its holder knows it: number and generation.
    struct SlotRef
    {
        int slot = -1;
        std::uint32_t generation = 0;
    };

    constexpr WindowTable() = default;

    int count() const { return m_count; }
    /// High-water mark: slots 1 to slotCount() have been handed out at some time.
    int slotCount() const { return m_slotCount; }
    int freeSlotHead() const { return m_freeSlot; }
    bool isFull() const { return m_count == capacity; }
    bool hasFreeSlot() const { return m_freeSlot != -1 || m_slotCount < slotCapacity; }

    const WindowEntry &entry(int index) const { return m_entries[index]; }
    const WindowSlot &slot(int number) const { return m_slots[number]; }
    /// True when `number` is a slot that was handed out and not freed since.
    bool isAllocated(int number) const;
    /// True when `ref` is still its holder's slot (not freed since it was handed out).
    bool isCurrent(SlotRef ref) const;
    /// The entry position `ref` designates, or -1 when the slot is stale or not in use.
    int indexOf(SlotRef ref) const;

    /// Hands out a slot (the head of the free list, else the next never-used one, slotCount() + 1)
    /// designating
    /// `index` (-1: none) and marked in use or not. Precondition: hasFreeSlot().
    SlotRef allocateSlot(int index, bool inUse, std::uint32_t processId);
    /// Makes `ref`'s slot designate `index` (-1: none) and marks it in use or not.
    void setSlot(SlotRef ref, int index, bool inUse);
    /// Frees `ref`'s slot (inUse 0, index -1, on the free list). A stale ref does nothing.
    void freeSlot(SlotRef ref);

    /// Inserts `entry` after the entries whose key is smaller or equal, moves the rest up and
    /// renumbers their slots. Returns the position. Precondition: !isFull().
    int insert(const WindowEntry &entry);
    /// Removes the entry at `index`: the following entries move down, slots designating the
    /// removed entry go out of use (keeping their index, which now names the next entry), slots
    /// of moved entries follow them.
    void removeAt(int index);

    /// On loading or unloading the library: initialises the tables if they hold no entry, then
    /// removes every entry of `processId` and frees every slot of `processId` not already free.
    void purgeProcess(std::uint32_t processId);

    /// The first entry with `objectId` (binary search), or -1.
    int firstWithObject(std::string_view objectId) const;
    /// The first entry with `objectId` and `view`, or -1.
    int firstWithObjectAndView(std::string_view objectId, unsigned long view) const;

    /// `objectId` as the table stores it: at most maxObjectIdLength bytes, cut at the end of a
    /// whole UTF-8 character, so that lookups with a longer id find what it registered.
    static std::string_view storedObjectId(std::string_view objectId);
    /// Byte-wise comparison of stored object ids (negative, zero, positive).
    static int compareObjectIds(std::string_view a, std::string_view b);

private:
    void initialise();

    WindowEntry m_entries[capacity] = {};
    WindowSlot m_slots[slotCapacity + 1] = {}; // [0] unused
    int m_count = 0;
    int m_slotCount = 0;
    int m_freeSlot = -1;
};
