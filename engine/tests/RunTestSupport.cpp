#include "RunTestSupport.h"

#include "ConversionFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace RunTestSupport {

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path &path, const std::string &text)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void writeEnvironment(const fs::path &home,
                      const std::map<std::string, std::map<std::string, std::string>> &settings)
{
    std::string text;
    for (const auto &[group, values] : settings) {
        text += "[" + group + "]\n";
        for (const auto &[name, value] : values)
            text += name + "=" + value + "\n";
    }
    writeFile(home / "environment.ini", text);
}

fs::path standInDirectory()
{
    const char *source = std::getenv("CHRONEX_SOURCE_DIR");
    return fs::path(source ? source : ".") / "engine" / "tests" / "standin";
}

bool processEnds(pid_t pid)
{
    const fs::path stat = "/proc/" + std::to_string(pid) + "/stat";
    const auto ended = [&] {
        const std::string status = readFile(stat);
        return status.empty() || status.find(") Z ") != std::string::npos;
    };
    for (int i = 0; i < 1000 && !ended(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ended();
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
}

void ScopedEnvironment::remember(const std::string &name)
{
    const char *value = std::getenv(name.c_str());
    m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
}

void ScopedEnvironment::set(const std::string &name, const std::string &value)
{
    remember(name);
    setenv(name.c_str(), value.c_str(), 1);
}

void ScopedEnvironment::unset(const std::string &name)
{
    remember(name);
    unsetenv(name.c_str());
}

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (fs::temp_directory_path() / "chronex-run-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory");
    m_path = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code error;
    fs::remove_all(m_path, error);
}

void RecordingObserver::fileStateChanged(ConversionFile &file, std::uint8_t state)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", state);
    const std::lock_guard<std::mutex> guard(lock);
    states.push_back(file.baseName() + " " + text);
}

void RecordingObserver::informationMessage(const std::vector<std::string> &lines)
{
    const std::lock_guard<std::mutex> guard(lock);
    informationMessages.push_back(lines);
}

void RecordingObserver::errorMessage(const std::vector<std::string> &lines)
{
    const std::lock_guard<std::mutex> guard(lock);
    errorMessages.push_back(lines);
}

void RecordingObserver::runFinished(const std::string &project, const std::string &error)
{
    const std::lock_guard<std::mutex> guard(lock);
    ++finishedCount;
    projectPath = project;
    errorText = error;
}

} // namespace RunTestSupport
