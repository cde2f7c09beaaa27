#include "CommandWorker.h"

#include "BusyFlag.h"
#include "IException.h"
#include "KelMsg.h"
#include "KelMsgException.h"

void CommandWorker::run(const std::function<void()> &action,
                        BusyFlag &busy,
                        const char *moduleTag,
                        const Hooks &hooks) noexcept
{
    try {
        action();
    } catch (const KelMsgException &exception) {
        try {
            if (hooks.logException)
                hooks.logException(exception);
        } catch (...) {
        }
        if (exception.winMsgSet())
            KelMsg::winMsgShow1(moduleTag, __LINE__);
    } catch (const IException &exception) {
        try {
            if (hooks.logException)
                hooks.logException(exception);
        } catch (...) {
        }
        KelMsg::winIExcnSet1(moduleTag, __LINE__, exception);
        KelMsg::winMsgShow1(moduleTag, __LINE__);
    } catch (...) {
        KelMsg::winUnknownExcnSet1(moduleTag, __LINE__);
        KelMsg::winMsgShow1(moduleTag, __LINE__);
    }
    busy.leave();
    try {
        if (hooks.finished)
            hooks.finished();
    } catch (...) {
        // The hook only posts to the GUI thread; a failure there must not end the process.
    }
}
