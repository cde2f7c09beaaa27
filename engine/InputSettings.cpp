#include "InputSettings.h"

#include "IException.h"
#include "LineReader.h"

#include <filesystem>
#include <ostream>
#include <string_view>

namespace {

constexpr std::string_view projectTag = "Project Name:>   ";
constexpr std::string_view optionsTag = "Compile Options:>";
constexpr std::string_view filesTag = "Convert these files:>";

[[noreturn]] void formatError(std::ostream &console, std::string_view reason)
{
    console << "Error:  Input file has '" << reason << "'as an error.\n"
            << "        Processing of the file cannot continue!" << std::endl;
    ITHROW(IAccessError("Format Error in the Input Settings file."));
}

std::string stripBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool isExistingFile(const std::string &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

InputSettings &InputSettings::instance()
{
    static InputSettings settings;
    return settings;
}

void InputSettings::read(std::istream &in, std::ostream &console)
{
    LineReader reader(in);
    std::string line;

    if (reader.atEnd())
        formatError(console, "File is empty");

    reader.readLine(line);
    if (const auto pos = line.find(projectTag); pos != std::string::npos)
        projectName = line.substr(pos + projectTag.size());
    else
        projectName.clear();
    if (projectName.empty())
        formatError(console, "Missing project name");

    if (!reader.readLine(line))
        formatError(console, "Missing 2 keyword");
    if (!line.starts_with(optionsTag))
        formatError(console, "Compile Option tag is wrong");
    compileOptions = line.substr(optionsTag.size());

    if (!reader.readLine(line))
        formatError(console, "Missing 3rd keyword");
    if (line != filesTag)
        formatError(console, "Convert file tag is wrong");

    if (files.capacity() < 100)
        files.reserve(100);
    while (reader.readLine(line)) {
        std::string path = stripBlanks(line);
        // A NUL would cut the name short for the file system: such a line names no file.
        if (!path.empty() && isWritable(path) && isExistingFile(path))
            files.push_back(std::move(path));
    }
}

bool InputSettings::isWritable(std::string_view value)
{
    return value.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

void InputSettings::write(std::ostream &out) const
{
    // A value is the rest of one line: one that would end the line, or a NUL that would end the
    // text for the reader, cannot be written.
    for (const std::string *value : {&projectName, &compileOptions}) {
        if (!isWritable(*value))
            ITHROW(IAccessError("The value " + *value
                                + " cannot be written into a settings file: it holds a line "
                                  "break or a NUL."));
    }
    for (const std::string &file : files) {
        if (!isWritable(file))
            ITHROW(IAccessError("The source " + file
                                + " cannot be written into a settings file: its name holds a "
                                  "line break or a NUL."));
    }
    out << projectTag << projectName << '\n';
    out << optionsTag << compileOptions << '\n';
    out << filesTag << '\n';
    for (const std::string &file : files)
        out << "  " << file << '\n';
}

void InputSettings::print(std::ostream &out) const
{
    // What was read is shown as it is, except that nothing in it may break a line or the text.
    const auto shown = [](std::string value) {
        for (char &c : value) {
            if (c == '\n' || c == '\r' || c == '\0')
                c = '?';
        }
        return value;
    };
    out << projectTag << shown(projectName) << '\n';
    out << optionsTag << shown(compileOptions) << '\n';
    out << filesTag << '\n';
    for (const std::string &file : files)
        out << "  " << shown(file) << '\n';
    out.flush();
}

void InputSettings::clear()
{
    projectName.clear();
    compileOptions.clear();
    files.clear();
}
