#pragma once

#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

/// The desktop's list of open view frames, in the order they opened, and the window list it
/// writes to standard output around every window it creates.
///
/// Frames are named by an opaque pointer (the desktop's frame window) and carry their window
/// handle and a one-line description (title and kind), which the GUI thread refreshes: the
/// request threads write the list too, and they must not read a window. One mutex guards the
/// list; write() also holds a process-wide output lock, so two lists written at once never mix.
///
/// The list as written:
///
///     Window list: 2 windows
///       1  window 7  Browser 592: PAYROLL
///       2  window 9  Grapher 593: PAYROLL
class FrameList final
{
public:
    struct Frame
    {
        const void *frame = nullptr;
        unsigned long handle = 0;
        std::string description;
    };

    /// Appends `frame`; false (nothing changed) when it is listed already or null.
    bool add(const void *frame, unsigned long handle, std::string description);
    /// Removes `frame`; false (nothing changed) when it is not listed.
    bool remove(const void *frame);
    bool contains(const void *frame) const;
    /// Replaces the description of `frame`; false when it is not listed.
    bool describe(const void *frame, std::string description);

    /// The frames in list order (a copy: the list may change as soon as it is made).
    std::vector<Frame> frames() const;
    std::size_t size() const;

    /// The window list, each line ended by "\n".
    std::string text() const;
    /// Writes `heading` (when not empty) as a line and then the list to `out`, as one piece, and
    /// flushes.
    void write(std::ostream &out, const std::string &heading = {}) const;

private:
    mutable std::mutex m_mutex; // guards m_frames
    std::vector<Frame> m_frames;
};
