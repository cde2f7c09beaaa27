#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ConversionControl;
class ConversionObserver;

/// One run of an outside tool by a pass: started without a shell, with a real argument vector,
/// waited for, its id kept in a slot of the control while it runs. Several threads may run
/// children at the same time.
class ChildProcess final
{
public:
    /// Return code of a child that could not be started or that was ended by a signal.
    static constexpr int severeResult = 16;

    /// Output kept of one run; what goes beyond is read and dropped, with a note at the end.
    static constexpr std::size_t maximumOutput = std::size_t(1) << 20;

    struct Result
    {
        int returnCode = severeResult;
        /// The errno of a failed start; 0 when the child was started.
        int startError = 0;
        /// What the child wrote to its standard output and standard error, in the order written.
        std::string output;
        /// The child was ended by a signal (a cancel kills it so): it may have left a file it
        /// was writing half done.
        bool signalled = false;
    };

    /// Starts `program` (searched on PATH) with `arguments` in `workingDirectory` (empty: the
    /// current one) and the variables of `environment` ("NAME=VALUE": the engine passes
    /// CHRONEX_OUTPUT_DIR and CHRONEX_TITLE) added to its environment, and waits for it. The
    /// spawn lock is held from before the start until the id is in a slot; the slot is freed,
    /// again under the lock, before the child is reaped, so a cancel can never hit a process id
    /// that has been given to someone else. A run that has been cancelled starts nothing: the
    /// result then has `startError` ECANCELED.
    ///
    /// The child's standard output and error go through a pipe into the result's `output`; the
    /// output ends when the child has ended and what it wrote has been read, even when a process
    /// it left behind keeps the pipe open.
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
