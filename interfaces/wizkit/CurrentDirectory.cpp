#include "CurrentDirectory.h"

#include <filesystem>
#include <mutex>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mutex g_stackMutex; // guards g_directoryStack
std::vector<fs::path> g_directoryStack;

} // namespace

std::string CurrentDirectory::workingDirectory()
{
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error)
        return {};
    std::string text = current.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

bool CurrentDirectory::isFile(const std::string &path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

bool CurrentDirectory::isDirectory(const std::string &path)
{
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool CurrentDirectory::isValid(const std::string &path)
{
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

bool CurrentDirectory::makeDirectory(const std::string &path)
{
    if (path.empty())
        return false;
    std::error_code error;
    fs::create_directories(path, error);
    return isDirectory(path);
}

bool CurrentDirectory::copyFile(const std::string &from, const std::string &to)
{
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error) && !error;
}

bool CurrentDirectory::deleteFile(const std::string &path)
{
    std::error_code error;
    if (!isFile(path) && !fs::is_symlink(path, error))
        return false;
    return fs::remove(path, error) && !error;
}

bool CurrentDirectory::renameFile(const std::string &from, const std::string &to)
{
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

bool CurrentDirectory::pushDirectory(const std::string &path)
{
    std::lock_guard lock(g_stackMutex);
    std::error_code error;
    const fs::path previous = fs::current_path(error);
    if (error)
        return false;
    fs::current_path(path, error);
    if (error)
        return false;
    g_directoryStack.push_back(previous);
    return true;
}

bool CurrentDirectory::popDirectory()
{
    std::lock_guard lock(g_stackMutex);
    if (g_directoryStack.empty())
        return false;
    const fs::path previous = g_directoryStack.back();
    g_directoryStack.pop_back();
    std::error_code error;
    fs::current_path(previous, error);
    return !error;
}
