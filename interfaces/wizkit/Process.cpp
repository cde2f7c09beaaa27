#include "Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

std::vector<std::string> splitArguments(const std::string &text)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

namespace {

/// Owns the spawn file actions for the duration of one start.
class SpawnFileActions final
{
public:
    SpawnFileActions()
    {
        m_error = posix_spawn_file_actions_init(&m_actions);
        m_initialised = m_error == 0;
    }
    ~SpawnFileActions()
    {
        if (m_initialised)
            posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnFileActions(const SpawnFileActions &) = delete;
    SpawnFileActions &operator=(const SpawnFileActions &) = delete;
    /// The error of the first action that could not be recorded, 0 when all could.
    int error() const { return m_error; }
    posix_spawn_file_actions_t *get() { return &m_actions; }
    void changeDirectory(const std::string &directory)
    {
        if (m_error == 0)
            m_error = posix_spawn_file_actions_addchdir_np(&m_actions, directory.c_str());
    }
    void duplicate(int from, int to)
    {
        if (m_error == 0)
            m_error = posix_spawn_file_actions_adddup2(&m_actions, from, to);
    }

private:
    posix_spawn_file_actions_t m_actions;
    int m_error = 0;
    bool m_initialised = false;
};

/// Owns the spawn attributes for the duration of one start.
class SpawnAttributes final
{
public:
    SpawnAttributes()
    {
        m_error = posix_spawnattr_init(&m_attributes);
        m_initialised = m_error == 0;
    }
    ~SpawnAttributes()
    {
        if (m_initialised)
            posix_spawnattr_destroy(&m_attributes);
    }
    SpawnAttributes(const SpawnAttributes &) = delete;
    SpawnAttributes &operator=(const SpawnAttributes &) = delete;
    int error() const { return m_error; }
    posix_spawnattr_t *get() { return &m_attributes; }

    void apply(const ProcessOptions &options)
    {
        short flags = 0;
        if (options.defaultSignals && m_error == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigset_t defaults;
            sigemptyset(&defaults);
            // Those the caller may block, catch or ignore for itself (a file-size limit and a
            // closed pipe are errors to the caller, not its children's business).
            for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ})
                sigaddset(&defaults, signal);
            m_error = posix_spawnattr_setsigmask(&m_attributes, &none);
            if (m_error == 0)
                m_error = posix_spawnattr_setsigdefault(&m_attributes, &defaults);
            flags |= POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        }
        if (options.ownProcessGroup && m_error == 0) {
            m_error = posix_spawnattr_setpgroup(&m_attributes, 0);
            flags |= POSIX_SPAWN_SETPGROUP;
        }
        if (m_error == 0)
            m_error = posix_spawnattr_setflags(&m_attributes, flags);
    }

private:
    posix_spawnattr_t m_attributes;
    int m_error = 0;
    bool m_initialised = false;
};

/// The caller's environment with the variables of `overrides` ("NAME=value") replaced or added.
std::vector<std::string> childEnvironment(const std::vector<std::string> &overrides)
{
    const auto nameOf = [](std::string_view entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> entries;
    for (char **entry = environ; entry && *entry; ++entry) {
        const std::string_view name = nameOf(*entry);
        bool replaced = false;
        for (const std::string &variable : overrides)
            replaced = replaced || nameOf(variable) == name;
        if (!replaced)
            entries.emplace_back(*entry);
    }
    entries.insert(entries.end(), overrides.begin(), overrides.end());
    return entries;
}

/// Pointers to `texts` followed by the terminating null pointer, as exec wants them.
std::vector<char *> pointers(std::vector<std::string> &texts)
{
    std::vector<char *> result;
    result.reserve(texts.size() + 1);
    for (std::string &text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

/// Where the program named `program` (no "/") is found on PATH: the first directory that holds
/// an executable regular file of that name, as execvp searches; empty when none does. Searching
/// here, with stat and access, is much cheaper than letting posix_spawnp try an exec in every
/// directory before the right one: each failed try in the child costs a fraction of a millisecond,
/// and a maintainer's PATH often lists several directories before the compiler's. The search
/// gives up (empty) at an entry that is relative or empty (the working directory): the child
/// resolves those from its own working directory, which may be another.
std::string programOnPath(const std::string &program)
{
    const char *path = std::getenv("PATH");
    if (!path)
        return {};
    std::string_view rest(path);
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string_view directory = rest.substr(0, colon);
        if (directory.empty() || directory.front() != '/')
            return {};
        std::string candidate(directory);
        candidate += '/';
        candidate += program;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode)
            && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        rest.remove_prefix(colon + 1);
    }
}

} // namespace

pid_t startProcess(const std::string &program,
                   const std::vector<std::string> &arguments,
                   const std::string & /*title*/,
                   const ProcessOptions &options)
{
    if (program.empty()) {
        errno = ENOENT;
        return -1;
    }
    std::vector<std::string> argumentTexts;
    argumentTexts.reserve(arguments.size() + 1);
    argumentTexts.push_back(program);
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv = pointers(argumentTexts);

    std::vector<std::string> environmentTexts;
    std::vector<char *> envp;
    if (!options.environment.empty()) {
        environmentTexts = childEnvironment(options.environment);
        envp = pointers(environmentTexts);
    }

    // The working directory is set for the child only: other threads of the caller must not see
    // the process's directory change.
    SpawnFileActions actions;
    if (!options.workingDirectory.empty())
        actions.changeDirectory(options.workingDirectory);
    if (options.outputDescriptor >= 0) {
        actions.duplicate(options.outputDescriptor, STDOUT_FILENO);
        actions.duplicate(options.outputDescriptor, STDERR_FILENO);
    }
    SpawnAttributes attributes;
    attributes.apply(options);

    int error = actions.error() != 0 ? actions.error() : attributes.error();
    pid_t pid = -1;
    // A program not found here is still left to posix_spawnp, which then reports why it could
    // not be started as execvp would.
    const std::string found = program.find('/') == std::string::npos ? programOnPath(program)
                                                                     : std::string();
    const auto spawn = found.empty() ? posix_spawnp : posix_spawn;
    if (error == 0)
        error = spawn(&pid,
                      found.empty() ? program.c_str() : found.c_str(),
                      actions.get(),
                      attributes.get(),
                      argv.data(),
                      envp.empty() ? environ : envp.data());
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

pid_t startProcess(const std::string &program,
                   const std::vector<std::string> &arguments,
                   const std::string &title,
                   const std::string &workingDirectory)
{
    ProcessOptions options;
    options.workingDirectory = workingDirectory;
    return startProcess(program, arguments, title, options);
}

pid_t startProcess(const std::string &program,
                   const std::string &arguments,
                   const std::string &title,
                   const std::string &workingDirectory)
{
    return startProcess(program, splitArguments(arguments), title, workingDirectory);
}

ProcessResult waitForProcess(pid_t pid)
{
    ProcessResult result;
    int status = 0;
    pid_t waited = -1;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != pid)
        return result;
    if (WIFEXITED(status)) {
        result.ending = ProcessResult::Ending::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.ending = ProcessResult::Ending::Signalled;
        result.signal = WTERMSIG(status);
    }
    return result;
}

namespace {

/// True when `pid` has ended; the child stays unreaped (WNOWAIT) for whoever waits for it.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0)
        return info.si_pid == pid;
    if (errno == ECHILD) // not our child, or already reaped: ask whether it still exists
        return kill(pid, 0) != 0 && errno == ESRCH;
    return false;
}

} // namespace

bool killProcess(pid_t pid, int graceMilliseconds)
{
    if (pid <= 0) {
        errno = EINVAL;
        return false;
    }
    if (kill(pid, SIGTERM) != 0)
        return false;
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(graceMilliseconds);
    while (steady_clock::now() < deadline) {
        if (hasEnded(pid))
            return true;
        std::this_thread::sleep_for(milliseconds(10));
    }
    if (!hasEnded(pid))
        kill(pid, SIGKILL);
    return true;
}
