#include "HostOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace {

struct KindWord
{
    const char *word;
    HostViewKind kind;
};

// The first word of each kind is its name in file names; one-letter forms are the desktop's
// kind letters and their list-view siblings.
constexpr std::array<KindWord, 24> kindWords = {{
    {"browser", HostViewKind::browser},
    {"b", HostViewKind::browser},
    {"source", HostViewKind::browser},
    {"symbols", HostViewKind::symbolsUsed},
    {"s", HostViewKind::symbolsUsed},
    {"programs", HostViewKind::relatedPrograms},
    {"p", HostViewKind::relatedPrograms},
    {"members", HostViewKind::relatedMembers},
    {"r", HostViewKind::relatedMembers},
    {"copybooks", HostViewKind::relatedMembers},
    {"datamap", HostViewKind::dataMap},
    {"m", HostViewKind::dataMap},
    {"map", HostViewKind::dataMap},
    {"tree", HostViewKind::tree},
    {"t", HostViewKind::tree},
    {"grapher", HostViewKind::grapher},
    {"g", HostViewKind::grapher},
    {"graph", HostViewKind::grapher},
    {"details", HostViewKind::details},
    {"d", HostViewKind::details},
    {"settings", HostViewKind::settings},
    {"properties", HostViewKind::properties},
    {"preferences", HostViewKind::preferences},
    {"prefs", HostViewKind::preferences},
}};

std::string lowerCase(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool startsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string HostOptions::kindName(HostViewKind kind)
{
    for (const KindWord &word : kindWords)
        if (word.kind == kind)
            return word.word;
    return "view";
}

std::string HostOptions::kindNames()
{
    return "b|browser, s|symbols, p|programs, r|members, m|datamap, t|tree, g|grapher, "
           "d|details, settings, properties, preferences";
}

bool HostOptions::parseOpen(const std::string &text, HostOpenRequest &request, std::string &error)
{
    const std::string example = " (e.g. b:PAYRUN:120)";
    const std::size_t firstColon = text.find(':');
    const std::string kindWord = lowerCase(text.substr(0, firstColon));
    const auto found = std::find_if(kindWords.begin(), kindWords.end(), [&](const KindWord &w) {
        return kindWord == w.word;
    });
    if (kindWord.empty() || found == kindWords.end()) {
        error = "--open expects KIND:UNIT[:LINE]" + example + " with KIND one of " + kindNames()
                + "; found '" + text + "'";
        return false;
    }
    request = HostOpenRequest{found->kind, {}, 0};
    if (firstColon == std::string::npos)
        return true;
    std::string rest = text.substr(firstColon + 1);
    // A unit named by a path may hold colons of its own; the line is the last part when it is a
    // number.
    const std::size_t lastColon = rest.rfind(':');
    if (lastColon != std::string::npos) {
        const std::string lineText = rest.substr(lastColon + 1);
        std::uint32_t line = 0;
        const auto [end, problem] = std::from_chars(lineText.data(),
                                                    lineText.data() + lineText.size(),
                                                    line);
        if (lineText.empty() || problem != std::errc() || end != lineText.data() + lineText.size()
            || line == 0) {
            error = "--open expects a line number from 1 up after the unit" + example + "; found '"
                    + lineText + "' in '" + text + "'";
            return false;
        }
        request.line = line;
        rest.erase(lastColon);
    }
    request.unit = rest == "*" ? std::string() : rest;
    return true;
}

bool HostOptions::parse(const std::vector<std::string> &arguments, std::string &error)
{
    *this = HostOptions{};
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const auto value = [&](const std::string &option, std::string &into) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                error = option + " expects a value; found nothing after it";
                return false;
            }
            into = arguments[++i];
            return true;
        };
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--analyze" || argument == "--analyse") {
            analyze = true;
        } else if (argument == "--dialect") {
            if (!value(argument, dialect))
                return false;
        } else if (startsWith(argument, "--dialect=")) {
            dialect = argument.substr(10);
        } else if (argument == "-I" || argument == "--include") {
            std::string directory;
            if (!value(argument, directory))
                return false;
            includeDirectories.push_back(directory);
        } else if (startsWith(argument, "-I")) {
            includeDirectories.push_back(argument.substr(2));
        } else if (argument == "--open") {
            std::string text;
            HostOpenRequest request;
            if (!value(argument, text) || !parseOpen(text, request, error))
                return false;
            opens.push_back(std::move(request));
        } else if (argument == "--grab") {
            if (!value(argument, grabDirectory))
                return false;
        } else if (argument == "--copybook") {
            std::string name;
            if (!value(argument, name))
                return false;
            copybooks.push_back(name);
        } else {
            error = "unknown option '" + argument + "'; see kelhost --help";
            return false;
        }
    }
    if (help)
        return true;
    if (!analyze && (!dialect.empty() || !includeDirectories.empty())) {
        error = std::string(dialect.empty() ? "-I" : "--dialect")
                + " goes with --analyze; found it without";
        return false;
    }
    if (analyze) {
        if (positional.empty()) {
            error = "--analyze expects one or more COBOL sources; found none";
            return false;
        }
        sources = std::move(positional);
        return true;
    }
    if (positional.size() != 1) {
        error = "expected one analysis database (or a directory holding one); found "
                + std::to_string(positional.size()) + " arguments";
        return false;
    }
    database = positional.front();
    return true;
}

std::string HostOptions::usage()
{
    return "Usage: kelhost [--open KIND:UNIT[:LINE]]... [--grab DIR] DATABASE\n"
           "       kelhost --analyze [--dialect D] [-I DIR]... [--open ...] [--grab DIR] "
           "SOURCE...\n"
           "\n"
           "Opens the analysis desktop of an execution unit: its program units, and from them\n"
           "the source browser, the list views, the data map, the structure tree and the\n"
           "notebooks.\n"
           "\n"
           "  DATABASE            an analysis database (chxanalysis.db), or the output\n"
           "                      directory of a conversion that holds one\n"
           "  --analyze SOURCE... analyse the COBOL sources first (zmc2 and kelmkpu) into a\n"
           "                      database under the user's cache directory, then open it\n"
           "  --dialect D         the COBOL dialect of the sources (ibm, default, mf ...)\n"
           "  -I DIR              a directory to search for copybooks (repeatable)\n"
           "  --open KIND:UNIT[:LINE]\n"
           "                      open a view at start (repeatable). KIND: "
           + kindNames()
           + ";\n"
             "                      UNIT: a program unit's name, empty or * for the execution\n"
             "                      unit as a whole; LINE: a line of the expanded source\n"
             "  --copybook NAME     open the storage map of copybook NAME laid out on its own\n"
             "                      (repeatable)\n"
             "  --grab DIR          once every window is open and painted, save one PNG per\n"
             "                      window in DIR (named after its kind and unit), close the\n"
             "                      desktop (placements are saved) and exit\n"
             "  --help              show this text\n"
             "\n"
             "Exit status: 0 success, 1 the database could not be opened or analysed, 64 usage.\n";
}
