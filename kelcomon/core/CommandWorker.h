#pragma once

#include <functional>

class BusyFlag;
class IException;

/// The body of the worker thread of a view's "basic" command: it performs the command and never
/// lets an exception escape. What the command throws is shown to the user through the analysis
/// database's message display (KelMsg), three ways:
/// - a KelMsgException whose message is set: KelMsg::winMsgShow1 shows it;
/// - another IException: KelMsg::winIExcnSet1 makes it the pending message, winMsgShow1 shows it;
/// - anything else: KelMsg::winUnknownExcnSet1, then winMsgShow1.
/// Each call names `moduleTag` and a line. Whatever happened, the busy flag is cleared and then
/// `finished` is called (the window hands its pointer and any pending close back to the GUI
/// thread there).
///
/// Std-only, so that a ThreadSanitizer build checks the hand-off of the busy flag.
class CommandWorker final
{
public:
    struct Hooks
    {
        /// Called with every IException the command threw, before it is shown (the window
        /// appends it to the exception log when the log is on). May be empty.
        std::function<void(const IException &)> logException;
        /// Called last, after the busy flag was cleared. May be empty.
        std::function<void()> finished;
    };

    static void run(const std::function<void()> &action,
                    BusyFlag &busy,
                    const char *moduleTag,
                    const Hooks &hooks) noexcept;
};
