#include "ProjectOptionsFile.h"

#include "PathNames.h"
#include "RegularFile.h"

#include <fstream>
#include <sstream>
#include <string_view>

namespace {

constexpr std::string_view sectionName = "-CompileInfo";
constexpr std::string_view optionsKey = "+compileOptions=";

std::string_view trimmedLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

std::string ProjectOptionsFile::optionsFileFor(const std::string &projectFile)
{
    return PathNames::replaceExtension(projectFile, ".iwo");
}

ProjectOptionsFile::Result ProjectOptionsFile::read(const std::string &projectFile)
{
    Result result;
    if (projectFile.empty()) {
        result.status = Status::BadProjectName;
        return result;
    }
    result.optionsFile = optionsFileFor(projectFile);
    // Only a regular file is read: a FIFO named as the options file would block the launcher.
    const RegularFile::Result file = RegularFile::read(result.optionsFile);
    if (!file) {
        result.status = Status::Unreadable;
        return result;
    }
    std::istringstream in(file.text);
    bool inSection = false;
    std::string raw;
    while (std::getline(in, raw)) {
        const std::string_view line = trimmedLine(raw);
        if (line.starts_with('-')) {
            inSection = line == sectionName;
            continue;
        }
        if (inSection && line.starts_with(optionsKey)) {
            result.status = Status::Found;
            result.options = std::string(line.substr(optionsKey.size()));
            return result;
        }
    }
    result.status = in.bad() ? Status::Unreadable : Status::NoOptions;
    return result;
}
