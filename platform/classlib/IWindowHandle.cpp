#include "IWindowHandle.h"

#include "IException.h"
#include "IGuiThread.h"
#include "IUserEvent.h"

#include <QCoreApplication>
#include <QWidget>

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

/// Every window that has a handle. `mutex` guards both maps and `next`; a window leaves them
/// from its destroyed() signal, which it emits before Qt drops the events posted to it, so an
/// event posted under the mutex is either delivered or dropped with the window, never sent to
/// freed memory.
struct HandleTable
{
    std::mutex mutex;
    std::unordered_map<unsigned long, QWidget *> windows;
    std::unordered_map<const QWidget *, unsigned long> handles;
    unsigned long next = 1;
};

HandleTable &table()
{
    static HandleTable *instance = new HandleTable; // outlives every window
    return *instance;
}

/// Runs `deliver` with the live window on the GUI thread, now when called there, else through a
/// blocking queued call (IGuiThread::call). False when the window has gone.
bool onGuiThread(unsigned long handle, const std::function<void(QWidget *)> &deliver)
{
    bool delivered = false;
    IGuiThread::call([&] {
        QWidget *window = nullptr;
        {
            std::lock_guard lock(table().mutex);
            if (auto it = table().windows.find(handle); it != table().windows.end())
                window = it->second;
        }
        if (!window)
            return;
        delivered = true;
        deliver(window);
    });
    return delivered;
}

} // namespace

IWindowHandle IWindowHandle::of(QWidget *window)
{
    if (!window)
        return {};
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    if (auto it = t.handles.find(window); it != t.handles.end())
        return IWindowHandle(it->second);
    const unsigned long value = t.next++;
    t.windows.emplace(value, window);
    t.handles.emplace(window, value);
    QObject::connect(window, &QObject::destroyed, [value, window] {
        HandleTable &gone = table();
        std::lock_guard goneLock(gone.mutex);
        gone.windows.erase(value);
        gone.handles.erase(window);
    });
    return IWindowHandle(value);
}

bool IWindowHandle::isValid() const
{
    std::lock_guard lock(table().mutex);
    return table().windows.count(m_value) != 0;
}

QWidget *IWindowHandle::window() const
{
    std::lock_guard lock(table().mutex);
    auto it = table().windows.find(m_value);
    return it == table().windows.end() ? nullptr : it->second;
}

void IWindowHandle::throwGone(const char *what) const
{
    ITHROW(IAccessError(std::string("Cannot ") + what + " window " + std::to_string(m_value)
                        + ": the window has gone."));
}

void IWindowHandle::postEvent(int type, unsigned long parameter1, unsigned long parameter2) const
{
    auto event = std::make_unique<IUserEvent>(type, parameter1, parameter2);
    std::lock_guard lock(table().mutex);
    auto it = table().windows.find(m_value);
    if (it == table().windows.end())
        throwGone("post an event to");
    QCoreApplication::postEvent(it->second, event.release());
}

unsigned long IWindowHandle::sendEvent(int type,
                                       unsigned long parameter1,
                                       unsigned long parameter2) const
{
    IUserEvent event(type, parameter1, parameter2);
    if (!onGuiThread(m_value,
                     [&](QWidget *window) { QCoreApplication::sendEvent(window, &event); }))
        throwGone("send an event to");
    return event.result();
}

void IWindowHandle::postSystemCommand(ISystemCommand command) const
{
    std::lock_guard lock(table().mutex);
    auto it = table().windows.find(m_value);
    if (it == table().windows.end())
        throwGone("post a system command to");
    // A queued call in the window's context runs after the current event and is dropped when
    // the window goes first.
    const unsigned long handle = m_value;
    QMetaObject::invokeMethod(
        it->second,
        [handle, command] {
            if (QWidget *window = IWindowHandle(handle).window())
                ISystemCommandEvent::dispatch(window, command);
        },
        Qt::QueuedConnection);
}

bool IWindowHandle::sendSystemCommand(ISystemCommand command) const
{
    bool handled = false;
    if (!onGuiThread(m_value, [&](QWidget *window) {
            handled = ISystemCommandEvent::dispatch(window, command);
        }))
        throwGone("send a system command to");
    return handled;
}
