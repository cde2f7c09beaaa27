#include "ChildProcess.h"

#include "ConversionControl.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

extern char **environ;

namespace {

/// The process's environment with CHRONEX_OUTPUT_DIR replaced.
std::vector<std::string> childEnvironment(const std::string &outputDirectory)
{
    static const std::string key = "CHRONEX_OUTPUT_DIR=";
    std::vector<std::string> entries;
    for (char **entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, key.c_str(), key.size()) != 0)
            entries.emplace_back(*entry);
    }
    entries.push_back(key + outputDirectory);
    return entries;
}

std::vector<char *> pointers(std::vector<std::string> &texts)
{
    std::vector<char *> result;
    result.reserve(texts.size() + 1);
    for (std::string &text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

/// Owns the spawn file actions for the duration of one start.
class FileActions final
{
public:
    FileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    FileActions(const FileActions &) = delete;
    FileActions &operator=(const FileActions &) = delete;
    posix_spawn_file_actions_t *get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

/// Owns the spawn attributes: the child leads a new process group and starts with no signal
/// blocked and SIGINT/SIGTERM at their defaults, whatever the engine's thread has blocked or
/// caught (kelconv blocks them to wait for them on a thread of its own).
class SpawnAttributes final
{
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        // A group of its own, so that a cancel ends whatever the tool has started in turn.
        posix_spawnattr_setpgroup(&m_attributes, 0);
        posix_spawnattr_setflags(&m_attributes,
                                 POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF
                                     | POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes &) = delete;
    SpawnAttributes &operator=(const SpawnAttributes &) = delete;
    posix_spawnattr_t *get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

} // namespace

ChildProcess::Result ChildProcess::run(const std::string &program,
                                       const std::vector<std::string> &arguments,
                                       const std::string &workingDirectory,
                                       const std::string &outputDirectory,
                                       ConversionControl &control,
                                       ConversionObserver *observer)
{
    std::vector<std::string> argumentTexts;
    argumentTexts.push_back(program);
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv = pointers(argumentTexts);
    std::vector<std::string> environmentTexts = childEnvironment(outputDirectory);
    std::vector<char *> envp = pointers(environmentTexts);

    // The working directory is set for the child only: the GUI thread runs concurrently and
    // must not see the process's directory change.
    FileActions actions;
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(actions.get(), workingDirectory.c_str());

    SpawnAttributes attributes;

    Result result;
    pid_t pid = 0;
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        const int error = posix_spawnp(&pid,
                                       program.c_str(),
                                       actions.get(),
                                       attributes.get(),
                                       argv.data(),
                                       envp.data());
        if (error != 0) {
            result.startError = error;
            return result;
        }
        control.setProcessId(pid);
    }
    if (observer)
        observer->childStarted(pid);

    // Wait for the end without reaping, so the id stays ours until the slot is cleared.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        control.setProcessId(0);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.returnCode = WEXITSTATUS(status);
    if (observer)
        observer->childEnded(pid);
    return result;
}
