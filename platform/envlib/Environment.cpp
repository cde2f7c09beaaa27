#include "Environment.h"

#include "AtomicFile.h"
#include "EnvironmentFile.h"
#include "IException.h"
#include "InstallPaths.h"
#include "PathNames.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>
#include <unistd.h>

namespace {

// Serialises every access of this process to the settings file and guards `reportedProblems`.
std::mutex environmentMutex;
std::set<std::string> reportedProblems;

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

const std::string settingsFileWhat = "settings file";

/// Creates the settings file with the defaults unless another process has just done so.
/// Call with environmentMutex held.
void createDefaults(const std::string &path)
{
    AtomicFile::ensureDirectoryOf(path, settingsFileWhat);
    AtomicFile::Lock lock(path, settingsFileWhat);
    if (::access(path.c_str(), F_OK) == 0)
        return;
    createWorkDirectory();
    AtomicFile::writeText(path, defaultText(), settingsFileWhat);
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
        // The defaults name a work directory that the conversion writes into: make it, as a
        // newly created settings file would.
        try {
            createWorkDirectory();
        } catch (const IAccessError &) {
        }
        return defaults();
    };

    std::string text;
    std::string problem;
    using AtomicFile::ReadResult;
    ReadResult result = AtomicFile::readText(path, EnvironmentFile::maxFileSize, text, problem);
    if (result == ReadResult::Missing) {
        try {
            createDefaults(path);
        } catch (const IAccessError &error) {
            return problemFound(error.text());
        }
        result = AtomicFile::readText(path, EnvironmentFile::maxFileSize, text, problem);
    }
    if (result == ReadResult::Missing)
        return problemFound("The settings file " + path + " vanished while it was being read.");
    if (result == ReadResult::Failed)
        return problemFound("Cannot read the settings file " + path + ": " + problem + ".");

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

    AtomicFile::ensureDirectoryOf(path, settingsFileWhat);
    AtomicFile::Lock fileLock(path, settingsFileWhat);

    std::string text;
    std::string problem;
    using AtomicFile::ReadResult;
    switch (AtomicFile::readText(path, EnvironmentFile::maxFileSize, text, problem)) {
    case ReadResult::Missing:
        createWorkDirectory();
        text = defaultText();
        break;
    case ReadResult::Failed:
        ITHROW(IAccessError(setting + "the file cannot be read (" + problem
                            + "); it was left unchanged."));
    case ReadResult::Read:
        if (::access(path.c_str(), W_OK) != 0)
            ITHROW(IAccessError(setting + "the file is not writable ("
                                + AtomicFile::systemMessage(errno) + ")."));
        break;
    }

    auto file = EnvironmentFile::parse(text, problem);
    if (!file)
        ITHROW(IAccessError(setting + "the file is not a valid settings file (" + problem
                            + "). It was left unchanged; correct or remove it."));
    if (problem = file->setValue(group, name, value); !problem.empty())
        ITHROW(IAccessError(setting + problem + "."));
    AtomicFile::writeText(path, file->text(), settingsFileWhat);
}
