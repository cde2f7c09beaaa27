#include "LaunchRequest.h"

#include "InputSettings.h"
#include "LineReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace LaunchRequest {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // Read in pieces of at most 999 characters, each kept with its line end: the pieces of a
    // longer line join up again, so no word is cut where a piece ends.
    text.clear();
    char piece[LineReader::maxLineLength + 1];
    while (in.getline(piece, sizeof piece) || in.gcount() > 0) {
        text.append(piece, std::size_t(in.gcount()));
        if (in.fail() && !in.eof()) {
            in.clear(); // a piece that filled the buffer: the line goes on
            continue;
        }
        if (!in.eof())
            text.back() = '\n'; // getline counted the line end and stored a NUL in its place
    }
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
