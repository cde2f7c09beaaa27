#include "ToolchainRun.h"

#include "RunTestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <sstream>

extern char **environ;

namespace fs = std::filesystem;

namespace ToolchainRun {

ProcessResult run(const std::string &program,
                  const std::vector<std::string> &arguments,
                  const fs::path &directory,
                  const fs::path &captureDirectory)
{
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    const fs::path outputFile = captureDirectory / "stdout";
    const fs::path errorFile = captureDirectory / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions,
                                     1,
                                     outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions,
                                     2,
                                     errorFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ProcessResult result;
    if (error != 0) {
        result.errors = "cannot start " + program;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.output = RunTestSupport::readFile(outputFile);
    result.errors = RunTestSupport::readFile(errorFile);
    fs::remove(outputFile);
    fs::remove(errorFile);
    return result;
}

std::map<std::string, std::string> snapshot(const fs::path &root)
{
    std::map<std::string, std::string> entries;
    if (!fs::exists(root))
        return entries;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_directory())
            entries[relative + "/"] = "";
        else
            entries[relative] = RunTestSupport::readFile(entry.path());
    }
    return entries;
}

void copyTree(const fs::path &from, const fs::path &to)
{
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::vector<fs::path> filesWithExtension(const fs::path &directory, const std::string &extension)
{
    std::vector<fs::path> found;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

} // namespace ToolchainRun
