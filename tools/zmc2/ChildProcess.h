#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

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

    /// A child that `start` started. Its output is read on a thread of its own, so the child
    /// never waits on a full pipe while the caller works on something else.
    class Running final
    {
    public:
        ~Running();
        Running(const Running &) = delete;
        Running &operator=(const Running &) = delete;

        /// Waits for the child to end: what `run` would have given.
        Result wait();
        /// Ends the child (it is not wanted any more) and reaps it.
        void stop();

    private:
        friend class ChildProcess;
        Running() = default;

        pid_t m_pid = -1;
        int m_readEnd = -1;
        std::thread m_reader;
        Result m_result;
        bool m_waited = false;
    };

    /// Starts the child as `run` does and returns at once; the result says NotStarted (through
    /// `wait`) when it could not be started.
    static std::unique_ptr<Running> start(const std::vector<std::string> &arguments,
                                          const std::string &workingDirectory = {});
};
