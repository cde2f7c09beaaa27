#include "Environment.h"

#include "EnvironmentFile.h"
#include "IException.h"
#include "InstallPaths.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Serialises every access of this process to the settings file and guards `reportedProblems`.
std::mutex environmentMutex;
std::set<std::string> reportedProblems;

std::string systemMessage(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

void reportOnce(const std::string &message)
{
    if (reportedProblems.insert(message).second)
        std::cerr << message << std::endl;
}

std::string workDirectory()
{
    return PathNames::join(InstallPaths::cacheDirectory(), "work");
}

std::string defaultText()
{
    const std::string data = InstallPaths::dataDirectory();
    return "; Chronex environment settings: one [group] per section, name=value lines.\n"
           "; Change them here or with kelenv set GROUP NAME VALUE.\n"
           "[COMMON]\n"
           "QCOBDIR="
           + data + "\n\n[Toolbench]\nCONFIG_PATH=" + PathNames::join(data, "templates")
           + "\n\n[Conversion & Structuring]\nQVFWORK=" + workDirectory() + "\n";
}

EnvironmentFile defaults()
{
    std::string problem;
    return EnvironmentFile::parse(defaultText(), problem).value_or(EnvironmentFile());
}

/// The conversion aid's work directory named by the defaults must exist for them to be useful.
void createWorkDirectory()
{
    std::error_code error;
    std::filesystem::create_directories(workDirectory(), error);
    if (error)
        reportOnce("Cannot create the work directory " + workDirectory() + ": " + error.message()
                   + ".");
}

enum class ReadResult { Read, Missing, Failed };

/// Reads the whole file into `text`; on failure `problem` says why. A FIFO or device under the
/// name is refused without waiting for a writer.
ReadResult readText(const std::string &path, std::string &text, std::string &problem)
{
    RegularFile::Result file = RegularFile::read(path, EnvironmentFile::maxFileSize);
    if (file.status == RegularFile::Result::Status::Missing)
        return ReadResult::Missing;
    if (!file) {
        problem = std::move(file.problem);
        return ReadResult::Failed;
    }
    text = std::move(file.text);
    return ReadResult::Read;
}

/// Creates the directory that holds the settings file `path`.
void ensureDirectory(const std::string &path)
{
    const std::string directory = PathNames::directory(path);
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        ITHROW(IAccessError("Cannot create the directory " + directory + " for the settings file "
                            + path + ": " + error.message() + "."));
}

/// An advisory lock that keeps two processes from changing the settings file at the same time.
class FileLock final
{
public:
    explicit FileLock(const std::string &settingsPath)
    {
        const std::string lockPath = settingsPath + ".lock";
        m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            ITHROW(IAccessError("Cannot write the settings file " + settingsPath
                                + ": its lock file " + lockPath + " cannot be created ("
                                + systemMessage(errno) + ")."));
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FileLock() { ::close(m_fd); }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int m_fd = -1;
};

/// Replaces `path` by `text` in one step: a new file next to it (mkstemp, so no other process can
/// take its name), flushed to disk and renamed over the old one. A symbolic link is followed, so
/// the file it points to is replaced and the link stays.
void writeAtomically(const std::string &path, const std::string &text)
{
    std::string target = path;
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto resolved = std::filesystem::weakly_canonical(path, error);
        if (!error)
            target = resolved.string();
    }

    mode_t mode = 0644;
    if (struct stat info{}; ::stat(target.c_str(), &info) == 0)
        mode = info.st_mode & 07777;

    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    const auto fail = [&](const std::string &what, int code) {
        ITHROW(IAccessError("Cannot write the settings file " + path + ": " + what + " ("
                            + systemMessage(code) + "); the file was left unchanged."));
    };
    if (fd < 0)
        fail("cannot create a new file in " + PathNames::directory(target), errno);

    int failure = 0;
    if (::fchmod(fd, mode) != 0)
        failure = errno;
    for (std::size_t done = 0; failure == 0 && done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            failure = errno;
        else
            done += static_cast<std::size_t>(written);
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        fail("cannot store the new content", failure);
    }

    // Make the rename itself durable; a failure here loses nothing that is already written.
    if (const int dir = ::open(PathNames::directory(target).c_str(), O_RDONLY | O_DIRECTORY);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

/// Creates the settings file with the defaults unless another process has just done so.
/// Call with environmentMutex held.
void createDefaults(const std::string &path)
{
    ensureDirectory(path);
    FileLock lock(path);
    if (::access(path.c_str(), F_OK) == 0)
        return;
    createWorkDirectory();
    writeAtomically(path, defaultText());
}

enum class OnProblem { UseDefaults, Throw };

/// The parsed settings file, created from the defaults when missing. Call with environmentMutex
/// held.
EnvironmentFile loadSettings(const std::string &path, OnProblem onProblem)
{
    const auto problemFound = [&](const std::string &message) {
        if (onProblem == OnProblem::Throw)
            ITHROW(IAccessError(message));
        reportOnce(message + " The installation's defaults are used.");
        return defaults();
    };

    std::string text;
    std::string problem;
    ReadResult result = readText(path, text, problem);
    if (result == ReadResult::Missing) {
        try {
            createDefaults(path);
        } catch (const IAccessError &error) {
            return problemFound(error.text());
        }
        result = readText(path, text, problem);
    }
    if (result == ReadResult::Missing)
        return problemFound("The settings file " + path + " vanished while it was being read.");
    if (result == ReadResult::Failed)
        return problemFound("The settings file " + path + " " + problem + ".");

    auto file = EnvironmentFile::parse(text, problem);
    if (!file)
        return problemFound("The settings file " + path + " is not a valid settings file ("
                            + problem + "). It is left as it is; correct or remove it.");
    return std::move(*file);
}

} // namespace

std::string environmentFilePath()
{
    return PathNames::join(InstallPaths::stateDirectory(), "environment.ini");
}

std::string readenv(const std::string &name, const std::string &group)
{
    std::lock_guard lock(environmentMutex);
    try {
        return loadSettings(environmentFilePath(), OnProblem::UseDefaults)
            .value(group, name)
            .value_or(std::string());
    } catch (const std::exception &error) {
        reportOnce(std::string("Cannot read the environment settings: ") + error.what());
        return {};
    }
}

std::vector<EnvironmentSetting> readAllSettings()
{
    std::lock_guard lock(environmentMutex);
    return loadSettings(environmentFilePath(), OnProblem::Throw).settings();
}

void writeStringValue(const std::string &name, const std::string &group, const std::string &value)
{
    std::lock_guard lock(environmentMutex);
    const std::string path = environmentFilePath();
    const std::string setting = "Cannot store the setting " + name + " of group " + group + " in "
                                + path + ": ";

    ensureDirectory(path);
    FileLock fileLock(path);

    std::string text;
    std::string problem;
    switch (readText(path, text, problem)) {
    case ReadResult::Missing:
        createWorkDirectory();
        text = defaultText();
        break;
    case ReadResult::Failed:
        ITHROW(IAccessError(setting + "the file cannot be read (" + problem
                            + "); it was left unchanged."));
    case ReadResult::Read:
        if (::access(path.c_str(), W_OK) != 0)
            ITHROW(
                IAccessError(setting + "the file is not writable (" + systemMessage(errno) + ")."));
        break;
    }

    auto file = EnvironmentFile::parse(text, problem);
    if (!file)
        ITHROW(IAccessError(setting + "the file is not a valid settings file (" + problem
                            + "). It was left unchanged; correct or remove it."));
    if (problem = file->setValue(group, name, value); !problem.empty())
        ITHROW(IAccessError(setting + problem + "."));
    writeAtomically(path, file->text());
}
