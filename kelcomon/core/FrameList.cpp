#include "FrameList.h"

#include <algorithm>
#include <ostream>

namespace {

/// Serialises whole window lists on any stream (standard output is shared by every thread).
std::mutex &outputMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

bool FrameList::add(const void *frame, unsigned long handle, std::string description)
{
    if (!frame)
        return false;
    std::lock_guard lock(m_mutex);
    if (std::any_of(m_frames.begin(), m_frames.end(), [&](const Frame &f) {
            return f.frame == frame;
        }))
        return false;
    m_frames.push_back({frame, handle, std::move(description)});
    return true;
}

bool FrameList::remove(const void *frame)
{
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_frames.begin(), m_frames.end(), [&](const Frame &f) {
        return f.frame == frame;
    });
    if (it == m_frames.end())
        return false;
    m_frames.erase(it);
    return true;
}

bool FrameList::contains(const void *frame) const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_frames.begin(), m_frames.end(), [&](const Frame &f) {
        return f.frame == frame;
    });
}

bool FrameList::describe(const void *frame, std::string description)
{
    std::lock_guard lock(m_mutex);
    for (Frame &f : m_frames) {
        if (f.frame == frame) {
            f.description = std::move(description);
            return true;
        }
    }
    return false;
}

std::vector<FrameList::Frame> FrameList::frames() const
{
    std::lock_guard lock(m_mutex);
    return m_frames;
}

std::size_t FrameList::size() const
{
    std::lock_guard lock(m_mutex);
    return m_frames.size();
}

std::string FrameList::text() const
{
    const std::vector<Frame> frames = this->frames();
    std::string text = "Window list: " + std::to_string(frames.size())
                       + (frames.size() == 1 ? " window\n" : " windows\n");
    std::size_t number = 0;
    for (const Frame &frame : frames) {
        text += "  " + std::to_string(++number) + "  window " + std::to_string(frame.handle);
        if (!frame.description.empty())
            text += "  " + frame.description;
        text += '\n';
    }
    return text;
}

void FrameList::write(std::ostream &out, const std::string &heading) const
{
    std::string block = heading.empty() ? std::string() : heading + '\n';
    block += text();
    std::lock_guard lock(outputMutex());
    out << block << std::flush;
}
