#pragma once

#include <string>
#include <vector>

/// Runs a program found on PATH with an argument vector (never through a shell), waits for it and
/// captures what it writes to standard output and standard error, interleaved as written. The
/// child is started by the kit's startProcess with its output sent to a pipe.
class ChildProcess final
{
public:
    enum class Outcome {
        Exited,    ///< the child ran and exited; exitCode is valid
        Signalled, ///< the child was ended by a signal
        NotStarted ///< the program could not be started (not found, not executable)
    };

    struct Result
    {
        Outcome outcome = Outcome::NotStarted;
        int exitCode = -1;
        int signal = 0;
        std::string output;
        std::string startError; ///< why the start failed
    };

    /// `arguments[0]` is the program name looked up on PATH. The child runs in
    /// `workingDirectory` (empty: the caller's).
    static Result run(const std::vector<std::string> &arguments,
                      const std::string &workingDirectory = {});
};
