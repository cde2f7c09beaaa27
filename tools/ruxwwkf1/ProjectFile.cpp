#include "ProjectFile.h"

#include "RegularFile.h"

#include "IException.h"
#include "PathNames.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <istream>
#include <sstream>
#include <system_error>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> splitList(std::string_view list)
{
    std::vector<std::string> parts;
    while (true) {
        const std::size_t semicolon = list.find(';');
        const std::string_view part = trimmed(list.substr(0, semicolon));
        if (!part.empty())
            parts.emplace_back(part);
        if (semicolon == std::string_view::npos)
            break;
        list.remove_prefix(semicolon + 1);
    }
    return parts;
}

std::string undoubledBackslashes(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\')
            ++i;
    }
    return result;
}

char lowered(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

ProjectFile ProjectFile::load(const std::string &path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        ITHROW(IAccessError("The project file " + path + " is a directory, not a project file."));
    // Only a regular file is read: a FIFO named as the project would block for ever.
    const RegularFile::Result file = RegularFile::read(path);
    if (file.status == RegularFile::Result::Status::Missing)
        ITHROW(IAccessError("The project file " + path + " does not exist."));
    if (!file)
        ITHROW(IAccessError("The project file " + path + " " + file.problem + "."));
    std::istringstream in(file.text);
    return parse(in, path);
}

ProjectFile ProjectFile::parse(std::istream &in, const std::string &path)
{
    ProjectFile project;
    project.m_path = path;
    std::string section;
    bool sawSettings = false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view text = trimmed(line);
        if (text.size() > 1 && text.front() == '-') {
            section = std::string(trimmed(text.substr(1)));
            sawSettings = true;
        } else if (text.size() > 1 && text.front() == '+') {
            // Only the line end is stripped from a value: blanks inside it are the user's.
            std::string_view entry = std::string_view(line).substr(line.find('+') + 1);
            while (!entry.empty() && (entry.back() == '\r' || entry.back() == '\n'))
                entry.remove_suffix(1);
            const std::size_t equals = entry.find('=');
            project.m_entries.push_back({section,
                                         std::string(trimmed(entry.substr(0, equals))),
                                         equals == std::string_view::npos
                                             ? std::string()
                                             : std::string(entry.substr(equals + 1))});
            sawSettings = true;
        }
    }
    if (in.bad())
        ITHROW(IAccessError("The project file " + path + " could not be read to its end."));
    if (!sawSettings)
        ITHROW(IAccessError("The project file " + path
                            + " holds no project settings: expected lines such as "
                              "\"-ProjectInfo\" and \"+name=...\", found none."));
    return project;
}

const ProjectFile::Entry *ProjectFile::find(std::string_view section, std::string_view key) const
{
    for (const Entry &entry : m_entries) {
        if (equalsIgnoringCase(entry.section, section) && equalsIgnoringCase(entry.key, key))
            return &entry;
    }
    return nullptr;
}

std::string ProjectFile::value(std::string_view section, std::string_view key) const
{
    const Entry *entry = find(section, key);
    return entry ? entry->value : std::string();
}

bool ProjectFile::contains(std::string_view section, std::string_view key) const
{
    return find(section, key) != nullptr;
}

std::string ProjectFile::name() const
{
    const std::string name(trimmed(value("ProjectInfo", "name")));
    return name.empty() ? PathNames::baseName(m_path) : name;
}

std::vector<std::string> ProjectFile::directories() const
{
    std::vector<std::string> entries = splitList(value("LocationInfo", "defaultDir"));
    for (std::string &entry : splitList(value("LocationInfo", "dirs")))
        entries.push_back(std::move(entry));

    const std::filesystem::path base = std::filesystem::path(m_path).parent_path();
    std::vector<std::string> result;
    for (const std::string &entry : entries) {
        std::filesystem::path directory(undoubledBackslashes(entry));
        if (directory.is_relative())
            directory = base / directory;
        std::string normal = PathNames::withoutTrailingSeparators(
            directory.lexically_normal().string());
        if (normal.empty())
            normal = ".";
        if (std::find(result.begin(), result.end(), normal) == result.end())
            result.push_back(std::move(normal));
    }
    return result;
}

std::vector<std::string> ProjectFile::filters() const
{
    std::vector<std::string> patterns = splitList(value("ConfigInfo", "filter"));
    if (patterns.empty())
        patterns.emplace_back("*");
    return patterns;
}

bool ProjectFile::matchesFilter(std::string_view fileName) const
{
    const std::vector<std::string> patterns = filters();
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string &pattern) {
        return wildcardMatch(pattern, fileName);
    });
}

std::vector<std::string> ProjectFile::matchingFiles(const std::string &directory) const
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (matchesFilter(name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<ProjectFile::Position> ProjectFile::position() const
{
    const std::string text = value("ConfigInfo", "position");
    int numbers[4] = {};
    std::string_view rest = trimmed(text);
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? rest.find(',') : rest.size();
        if (comma == std::string_view::npos)
            return std::nullopt;
        const std::string_view part = trimmed(rest.substr(0, comma));
        const auto [end, error] = std::from_chars(part.data(),
                                                  part.data() + part.size(),
                                                  numbers[i]);
        if (error != std::errc() || end != part.data() + part.size() || part.empty())
            return std::nullopt;
        rest.remove_prefix(std::min(rest.size(), comma + 1));
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return std::nullopt;
    return Position{numbers[0], numbers[1], numbers[2], numbers[3]};
}

bool ProjectFile::refreshes() const
{
    return equalsIgnoringCase(trimmed(value("ConfigInfo", "refresh")), "yes");
}

bool ProjectFile::wildcardMatch(std::string_view pattern, std::string_view text)
{
    // Greedy match with one backtrack point: the last "*" seen.
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowered(pattern[p]) == lowered(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
