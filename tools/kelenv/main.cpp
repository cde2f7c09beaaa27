// kelenv: the environment settings of the Chronex programs, from the shell.
//
//   kelenv list                   every group and its settings
//   kelenv get GROUP NAME         the value; exit status 1 when the setting is unset
//   kelenv set GROUP NAME VALUE   store a value
//   kelenv path                   the settings file
//
// Exit status: 0 done, 1 unset (get), 2 the settings file could not be read or written,
// 64 wrong usage.

#include "Environment.h"
#include "IException.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int exitUnset = 1;
constexpr int exitFailure = 2;
constexpr int exitUsage = 64;

const char usageText[] = "Usage: kelenv list\n"
                         "       kelenv get GROUP NAME\n"
                         "       kelenv set GROUP NAME VALUE\n"
                         "       kelenv path\n"
                         "       kelenv --help\n"
                         "\n"
                         "Lists, reads and changes the environment settings of the Chronex "
                         "programs,\n"
                         "kept in environment.ini in the per-user state directory ($CHRONEX_HOME,\n"
                         "else $XDG_CONFIG_HOME/chronex, else ~/.config/chronex).\n"
                         "Group names with blanks are given in quotes, e.g.\n"
                         "  kelenv get \"Conversion & Structuring\" QVFWORK\n"
                         "Groups and names match without regard to case. An empty value reads\n"
                         "as unset.\n"
                         "\n"
                         "Exit status: 0 done, 1 the setting is unset (get), 2 the settings file\n"
                         "could not be read or written, 64 wrong usage.\n";

int usageError(const std::string &problem)
{
    std::cerr << "kelenv: " << problem << "\n\n" << usageText;
    return exitUsage;
}

bool sameGroup(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

/// Prints the settings group by group, each group once, in the order of first appearance.
void list(const std::vector<EnvironmentSetting> &settings)
{
    std::vector<std::string> groups;
    for (const auto &setting : settings) {
        if (std::none_of(groups.begin(), groups.end(), [&](const auto &g) {
                return sameGroup(g, setting.group);
            }))
            groups.push_back(setting.group);
    }
    bool first = true;
    for (const auto &group : groups) {
        if (!first)
            std::cout << '\n';
        first = false;
        std::cout << '[' << group << "]\n";
        for (const auto &setting : settings) {
            if (sameGroup(setting.group, group))
                std::cout << setting.name << '=' << setting.value << '\n';
        }
    }
}

int run(const std::vector<std::string> &args)
{
    if (args.empty())
        return usageError("no command given.");
    const std::string &command = args[0];
    const std::size_t operands = args.size() - 1;

    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usageText;
        return 0;
    }
    if (command == "list" && operands == 0) {
        list(readAllSettings());
        return 0;
    }
    if (command == "path" && operands == 0) {
        std::cout << environmentFilePath() << '\n';
        return 0;
    }
    if (command == "get" && operands == 2) {
        const std::string value = readenv(args[2], args[1]);
        if (value.empty()) {
            std::cerr << "kelenv: the setting " << args[2] << " of group " << args[1]
                      << " is not set.\n";
            return exitUnset;
        }
        std::cout << value << '\n';
        return 0;
    }
    if (command == "set" && operands == 3) {
        writeStringValue(args[2], args[1], args[3]);
        return 0;
    }
    if (command == "list" || command == "path" || command == "get" || command == "set")
        return usageError("wrong number of arguments for " + command + ".");
    return usageError("unknown command \"" + command + "\".");
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const IException &error) {
        std::cerr << "kelenv: " << error.text() << '\n';
    } catch (const std::exception &error) {
        std::cerr << "kelenv: " << error.what() << '\n';
    }
    return exitFailure;
}
