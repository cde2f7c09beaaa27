#pragma once

#include <functional>
#include <string_view>

/// Where Qt calls our code (event handlers, slots, queued calls) no exception may pass: Qt's
/// event delivery is not exception-safe. call() runs `work` and catches everything; what it
/// caught is reported on standard error and in the trace under "CLASSLIB", naming `where`.
namespace IEventBoundary {

/// The result of `work`, or false when it threw.
bool call(std::string_view where, const std::function<bool()> &work);

} // namespace IEventBoundary
