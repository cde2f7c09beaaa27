#include "LaunchRequest.h"

#include "ConversionInputs.h"
#include "InputSettings.h"
#include "RegularFile.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace LaunchRequest {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

/// `text` with its control characters shown as "?", fit for a message line.
std::string shown(std::string text)
{
    for (char &c : text) {
        if (ConversionInputs::hasControlCharacters(std::string_view(&c, 1)))
            c = '?';
    }
    return text;
}

} // namespace

std::vector<std::string> splitWords(const std::string &text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i == text.size())
            break;
        std::string word;
        bool quoted = false;
        // A word ends at a blank outside quotes; quotes may open and close inside a word
        // ("dir with blanks"/a.cbl), an unterminated quote runs to the end of the text.
        for (; i < text.size() && (quoted || !isBlank(text[i])); ++i) {
            if (text[i] == '"')
                quoted = !quoted;
            else
                word += text[i];
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool readResponseFile(const std::string &path, std::string &text)
{
    // Read without blocking: a FIFO or directory named after "@" is no response file.
    const RegularFile::Result file = RegularFile::read(path);
    if (!file)
        return false;
    // The lines are read in pieces of at most 999 characters, each kept with its line end: the
    // pieces of a longer line join up again, so no word is cut where a piece ends. That gives
    // the file's text as it is, less one newline at its end.
    text = file.text;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return true;
}

Fill fillSettings(const std::vector<std::string> &arguments, InputSettings &settings)
{
    if (arguments.empty())
        return Fill::Nothing;

    std::vector<std::string> words;
    if (arguments.size() == 1 && arguments.front().starts_with('@')) {
        std::string text;
        if (!readResponseFile(arguments.front().substr(1), text))
            return Fill::Nothing;
        words = splitWords(text);
        if (words.empty())
            return Fill::Nothing;
    } else {
        words = arguments;
    }

    settings.projectName = words.front();
    settings.files.insert(settings.files.end(), words.begin() + 1, words.end());
    return Fill::Filled;
}

std::vector<std::string> leaveOutUnusable(InputSettings &settings)
{
    std::vector<std::string> problems;
    if (!InputSettings::isWritable(settings.projectName)) {
        problems.push_back("The project name " + shown(settings.projectName)
                           + " holds a line break or a NUL; the conversion runs without a "
                             "project.");
        settings.projectName.clear();
    }
    std::vector<std::string> kept;
    for (const std::string &file : settings.files) {
        if (!InputSettings::isWritable(file)) {
            problems.push_back("The source " + shown(file)
                               + " holds a line break or a NUL in its name and is left out.");
            continue;
        }
        // The same base name would mean the same result files for both.
        if (const std::string first = ConversionInputs::baseNameConflict(kept, file);
            !first.empty()) {
            problems.push_back(ConversionInputs::baseNameConflictMessage(first, file) + " " + file
                               + " is left out.");
            continue;
        }
        kept.push_back(file);
    }
    settings.files = std::move(kept);
    return problems;
}

std::string withoutPlaceholders(std::string options)
{
    for (const char letter : {'o', 'p', 'a', 'z'}) {
        for (std::size_t i = 0; i + 1 < options.size(); ++i) {
            if (options[i] == '%'
                && std::tolower(static_cast<unsigned char>(options[i + 1])) == letter) {
                options.erase(i, 2);
                break;
            }
        }
    }
    return options;
}

} // namespace LaunchRequest
