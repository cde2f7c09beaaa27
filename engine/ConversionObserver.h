#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ConversionFile;

/// What a conversion run reports while it works. The engine calls these on its own thread; an
/// implementation that drives widgets hands the work to the GUI thread (queued calls) and copies
/// what it needs, since the engine goes on at once. The engine never touches a widget.
class ConversionObserver
{
public:
    /// The three passes of a conversion run, in the order they run.
    enum class Pass { Compile, Analysis, Conversion };

    virtual ~ConversionObserver() = default;

    /// `file` has the new state byte `state` (also readable as the file's state).
    virtual void fileStateChanged(ConversionFile &file, std::uint8_t state) = 0;

    /// A pass begins work on file `index` (0-based) of `count`.
    virtual void fileStarted(Pass pass, std::size_t index, std::size_t count) = 0;

    /// `pass` is done with `done` of its `count` files (each loop of the analysis pass counts
    /// its files anew). Progress only; nothing is needed.
    virtual void filesDone(Pass pass, std::size_t done, std::size_t count)
    {
        (void) pass;
        (void) done;
        (void) count;
    }

    /// The counters of `pass` have the values given.
    virtual void countersChanged(Pass pass, unsigned success, unsigned failure) = 0;

    /// A status line: a resource id of the wizard's resource library (0 when none) and a
    /// console-style text that says the same.
    virtual void statusText(unsigned long resourceId, const std::string &text) = 0;

    /// A child process has started (it leads a process group of its own) / has ended; the
    /// end is told before the child is reaped, so its id is not reused meanwhile.
    virtual void childStarted(pid_t pid) = 0;
    virtual void childEnded(pid_t pid) = 0;

    /// The text with `id` of the wizard's resource library ("KELWIZRS"); may be empty.
    virtual std::string resourceText(unsigned long id) = 0;

    /// An information message box with these lines (already printed on the console).
    virtual void informationMessage(const std::vector<std::string> &lines) = 0;

    /// An error message box with these lines (already printed on the console).
    virtual void errorMessage(const std::vector<std::string> &lines) = 0;

    /// The run is over: `projectPath` names the new project, empty when none was made;
    /// `errorText` is the text of the error that ended the run, empty when none did.
    virtual void runFinished(const std::string &projectPath, const std::string &errorText) = 0;
};
