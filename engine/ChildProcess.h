#pragma once

#include <string>
#include <vector>

class ConversionControl;
class ConversionObserver;

/// One run of an outside tool by a pass: started without a shell, with a real argument vector,
/// waited for, its id kept in the control's process-id slot while it runs.
class ChildProcess final
{
public:
    /// Return code of a child that could not be started or that was ended by a signal.
    static constexpr int severeResult = 16;

    struct Result
    {
        int returnCode = severeResult;
        /// The errno of a failed start; 0 when the child was started.
        int startError = 0;
    };

    /// Starts `program` (searched on PATH) with `arguments` in `workingDirectory` (empty: the
    /// current one) and the variables of `environment` ("NAME=VALUE": the engine passes
    /// CHRONEX_OUTPUT_DIR and CHRONEX_TITLE) added to its environment, and waits for it. The spawn lock is held from before the start until the id is in the
    /// slot; the slot is cleared, again under the lock, before the child is reaped, so a cancel
    /// can never hit a process id that has been given to someone else.
    ///
    /// The return code is the child's exit status; a start failure or a child ended by a signal
    /// gives `severeResult`.
    static Result run(const std::string &program,
                      const std::vector<std::string> &arguments,
                      const std::string &workingDirectory,
                      const std::vector<std::string> &environment,
                      ConversionControl &control,
                      ConversionObserver *observer);
};
