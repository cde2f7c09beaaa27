#pragma once

#include <functional>

/// Handing work to the GUI thread, where every widget lives.
///
/// - call(): runs `work` on the GUI thread and waits for it (at once when called there). For a
///   worker thread that must change a widget, or read one, before it goes on. IWindowHandle's
///   sendEvent and sendSystemCommand use it.
/// - deliverWaitingCalls(): for a GUI thread that must wait for such a worker (a window that
///   goes while its command runs): it runs the calls that workers are waiting for, and nothing
///   else (no input, no timers, no deferred deletes), so the wait cannot deadlock and no other
///   window runs code meanwhile.
///
/// The calls travel through one receiver object of this library that lives on the GUI thread
/// (the thread of the QCoreApplication). Without a QCoreApplication, call() runs `work` on the
/// calling thread.
namespace IGuiThread {

/// True on the thread of the QCoreApplication (and when there is none).
bool isGuiThread();

/// Runs `work` on the GUI thread and returns when it has run. An exception from `work` is
/// caught on the GUI thread (IEventBoundary) and not passed on; call() then returns false.
bool call(const std::function<void()> &work);

/// Runs the calls that other threads are waiting for in call(). GUI thread only.
void deliverWaitingCalls();

} // namespace IGuiThread
