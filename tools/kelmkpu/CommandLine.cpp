#include "CommandLine.h"

#include <algorithm>
#include <cctype>

namespace kelmkpu {

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(std::tolower(c));
    });
    return text;
}

const std::vector<std::string> &knownSwitches()
{
    static const std::vector<std::string>
        names{"r", "d", "s", "n", "m", "m-", "m+", "c", "u", "u+", "u-"};
    return names;
}

bool isSwitch(const std::string &word)
{
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return false;
    const std::string name = lower(word.substr(1));
    return std::find(knownSwitches().begin(), knownSwitches().end(), name) != knownSwitches().end();
}

/// Splits one argument that holds several switches and their values: a new word starts at every
/// blank-preceded switch; a value keeps its inner blanks.
std::vector<std::string> splitCombined(const std::string &text)
{
    std::vector<std::string> blanks;
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        std::size_t end = text.find(' ', pos);
        if (end == std::string::npos)
            end = text.size();
        if (pos < end)
            blanks.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    for (const std::string &word : blanks) {
        if (isSwitch(word) || words.empty() || isSwitch(words.back()))
            words.push_back(word);
        else
            words.back() += " " + word;
    }
    return words;
}

} // namespace

std::string CommandLine::usage()
{
    return "usage: kelmkpu <analysis-data.adt> /r <seed-file> [/m-] [/c] [/u+] /d "
           "<output-directory> [/s] [/n]\n"
           "  /r  seed file with the known date fields (seed blocks)\n"
           "  /d  directory for <base>.xrl, <base>.xca, <base>.xpd and the analysis database\n"
           "  /s  seed-only analysis: declarations are not taken as evidence\n"
           "  /n  no program unit recorded: no expanded source, nothing in the database\n";
}

CommandLine::Take CommandLine::takeSwitch(const std::string &name,
                                          const std::vector<std::string> &words,
                                          std::size_t &i,
                                          std::string &error)
{
    if (name == "r" || name == "d") {
        if (i + 1 >= words.size() || isSwitch(words[i + 1])) {
            error = "switch " + words[i] + " needs a " + (name == "r" ? "seed file" : "directory")
                    + " after it, found "
                    + (i + 1 < words.size() ? "\"" + words[i + 1] + "\"" : "nothing");
            return Take::Error;
        }
        (name == "r" ? seedPath : outputDirectory) = words[++i];
        return Take::Ok;
    }
    if (name == "s")
        seedOnly = true;
    if (name == "n")
        recordUnit = false;
    return Take::Ok;
}

bool CommandLine::parse(const std::vector<std::string> &arguments, std::string &error)
{
    std::vector<std::string> words;
    for (const std::string &argument : arguments) {
        // Only an argument that starts with a switch and holds further words is split.
        if (argument.find(' ') != std::string::npos && !argument.empty()
            && isSwitch(argument.substr(0, argument.find(' ')))) {
            for (std::string &word : splitCombined(argument))
                words.push_back(std::move(word));
        } else {
            words.push_back(argument);
        }
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (isSwitch(word)) {
            if (takeSwitch(lower(word.substr(1)), words, i, error) == Take::Error)
                return false;
            continue;
        }
        // "/x" is a switch rather than a path when it is short and names no directory.
        const bool looksLikeSwitch = (word.size() >= 2 && word[0] == '-')
                                     || (word.size() >= 2 && word.size() <= 3 && word[0] == '/'
                                         && word.find('/', 1) == std::string::npos);
        if (looksLikeSwitch) {
            error = "unknown switch " + word;
            return false;
        }
        if (!adtPath.empty()) {
            error = "unexpected argument \"" + word + "\" after the analysis data file " + adtPath;
            return false;
        }
        adtPath = word;
    }
    if (adtPath.empty()) {
        error = "no analysis data file given";
        return false;
    }
    if (outputDirectory.empty()) {
        error = "no output directory given (/d <directory>)";
        return false;
    }
    return true;
}

} // namespace kelmkpu
