#pragma once

#include "IException.h"

#include <cstddef>
#include <span>

/// The protocol every cursor of the analysis database follows: construct it on its owner, call
/// `setToFirst()`, then while `isValid()` read `element()` and call `setToNext()`.
///
///     for (KelPuSmCursor cursor(pu); cursor.isValid(); cursor.setToNext())
///         use(cursor.element());
///
/// A cursor is valid right after construction when its owner has elements (as after
/// `setToFirst()`), so both the loop above and the explicit `setToFirst()` form work. A cursor on
/// an empty owner is never valid. `element()` on an invalid cursor throws IInvalidRequest.
/// Cursors see a loaded, unchanging unit: they hold no locks and copy nothing.
template<typename T>
class DbCursor
{
public:
    virtual ~DbCursor() = default;

    /// Moves to the first element; false when there is none.
    bool setToFirst()
    {
        m_index = 0;
        return isValid();
    }
    /// Moves to the next element; false when the cursor has run past the last one.
    bool setToNext()
    {
        if (isValid())
            ++m_index;
        return isValid();
    }
    bool isValid() const { return m_index < size(); }
    /// Makes the cursor invalid until the next `setToFirst()`.
    void invalidate() { m_index = size(); }

    /// The element under the cursor.
    T &element() const
    {
        if (!isValid())
            ITHROW(IInvalidRequest("The cursor does not point to an element."));
        return m_objects.empty() ? *m_pointers[m_index] : m_objects[m_index];
    }

    /// Elements the cursor walks.
    std::size_t numberOfElements() const { return size(); }

protected:
    /// Walks `objects` in order.
    explicit DbCursor(std::span<T> objects)
        : m_objects(objects)
    {}
    /// Walks the objects `pointers` point to, in order.
    explicit DbCursor(std::span<T *const> pointers)
        : m_pointers(pointers)
    {}

private:
    std::size_t size() const { return m_objects.empty() ? m_pointers.size() : m_objects.size(); }

    std::span<T> m_objects;
    std::span<T *const> m_pointers;
    std::size_t m_index = 0;
};
