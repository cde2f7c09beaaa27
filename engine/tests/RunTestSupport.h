#pragma once

#include "ConversionObserver.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

/// Helpers shared by the conversion-run tests: temporary directories, a settings file of our
/// own, the stand-in tools on PATH and an observer that records what it hears.
namespace RunTestSupport {

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &text);

/// Writes `<home>/environment.ini` with `settings` (group -> name=value lines).
void writeEnvironment(const std::filesystem::path &home,
                      const std::map<std::string, std::map<std::string, std::string>> &settings);

/// The directory with the stand-in zmc2, kelmkpu and vyquext.
std::filesystem::path standInDirectory();

/// True when the process `pid` has ended (gone, or a zombie waiting to be reaped) within about
/// ten seconds: a signal reaches it asynchronously.
bool processEnds(pid_t pid);

/// Sets an environment variable for the life of the test; `unset` removes every one set.
class ScopedEnvironment final
{
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    void set(const std::string &name, const std::string &value);
    void unset(const std::string &name);

private:
    void remember(const std::string &name);

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

/// A fresh directory under the system's temporary directory, removed with everything in it.
class TemporaryDirectory final
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// Records the observer calls; resource texts come back as "<id>".
class RecordingObserver final : public ConversionObserver
{
public:
    void fileStateChanged(ConversionFile &file, std::uint8_t state) override;
    void fileStarted(Pass, std::size_t, std::size_t) override {}
    void countersChanged(Pass, unsigned, unsigned) override {}
    void statusText(unsigned long, const std::string &) override {}
    void childStarted(pid_t pid) override { lastChild = pid; }
    void childEnded(pid_t) override {}
    std::string resourceText(unsigned long id) override
    {
        std::string text = "<";
        text += std::to_string(id);
        return text += '>';
    }
    void informationMessage(const std::vector<std::string> &lines) override;
    void errorMessage(const std::vector<std::string> &lines) override;
    void runFinished(const std::string &projectPath, const std::string &errorText) override;

    std::mutex lock;
    /// "<base name> 0xNN" per state change, in order.
    std::vector<std::string> states;
    std::vector<std::vector<std::string>> informationMessages;
    std::vector<std::vector<std::string>> errorMessages;
    std::atomic<pid_t> lastChild = 0;
    int finishedCount = 0;
    std::string projectPath;
    std::string errorText;
};

} // namespace RunTestSupport
