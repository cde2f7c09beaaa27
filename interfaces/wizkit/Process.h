#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

/// Starting and ending child processes without a shell. Std-only, so the engine can use it.

/// Splits an argument text at blanks (spaces and tabs); a part in double quotes stays one
/// argument even when it holds blanks, and the quotes are removed ("a b" c -> [a b] [c]). An
/// unterminated quote runs to the end of the text. Empty quotes ("") give an empty argument.
std::vector<std::string> splitArguments(const std::string &text);

/// How a child is set up beyond its argument vector. The defaults start it like the caller:
/// same directory, environment, process group, signal mask and output.
struct ProcessOptions
{
    /// The child's working directory; empty: the caller's. The caller's own working directory is
    /// never changed.
    std::string workingDirectory;
    /// Variables set in the child's environment as "NAME=value", each replacing a variable of the
    /// same name that the caller's environment holds.
    std::vector<std::string> environment;
    /// The child leads a new process group, so that `kill(-pid, ...)` reaches whatever it
    /// starts in turn.
    bool ownProcessGroup = false;
    /// The child starts with no signal blocked and SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE and
    /// SIGXFSZ at their default actions, whatever the starting thread has blocked, caught or
    /// ignored.
    bool defaultSignals = false;
    /// When not negative, the child's standard output and standard error both go to this
    /// descriptor (a pipe's write end or an open file).
    int outputDescriptor = -1;
};

/// Starts `program` (searched on PATH unless it holds a "/") with `arguments` as its argument
/// vector (argv[0] is `program`) without waiting for it, set up as `options` say. `title`
/// names the child in diagnostics only.
///
/// Returns the child's process id, or -1 when it could not be started; errno then holds the
/// reason (e.g. ENOENT when the program was not found). The caller must reap the child
/// (waitForProcess).
pid_t startProcess(const std::string &program,
                   const std::vector<std::string> &arguments,
                   const std::string &title,
                   const ProcessOptions &options);

/// Starts `program` as above with the default options, in `workingDirectory` when it is not
/// empty.
pid_t startProcess(const std::string &program,
                   const std::vector<std::string> &arguments,
                   const std::string &title,
                   const std::string &workingDirectory = {});

/// The text form: `arguments` is split as splitArguments does.
pid_t startProcess(const std::string &program,
                   const std::string &arguments,
                   const std::string &title,
                   const std::string &workingDirectory = {});

/// How a child ended.
struct ProcessResult
{
    enum class Ending { Exited, Signalled, WaitFailed };
    Ending ending = Ending::WaitFailed;
    int exitCode = 0; ///< WEXITSTATUS when Exited
    int signal = 0;   ///< the signal number when Signalled
};

/// Waits for the child `pid` to end and reaps it; a wait interrupted by a signal is resumed.
ProcessResult waitForProcess(pid_t pid);

/// Ends the child `pid`: SIGTERM, and SIGKILL when it has not ended after a grace of about
/// `graceMilliseconds`. Does not reap the child, so a thread waiting for it still gets its
/// status. False when `pid` is not positive or no signal could be delivered (errno kept).
bool killProcess(pid_t pid, int graceMilliseconds = 2000);
