#include "CompileArguments.h"

#include "PathNames.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(std::tolower(c));
    });
    return text;
}

void appendWords(std::vector<std::string> &arguments, const std::string &text)
{
    std::istringstream words(text);
    std::string word;
    while (words >> word)
        arguments.push_back(word);
}

} // namespace

CompileArguments::CompileArguments(std::string options, std::string sourcePath)
{
    const std::string lower = lowerCase(options);
    std::string optionsPart = std::move(options);
    if (lower.find("-c") == std::string::npos && lower.find("/c") == std::string::npos)
        optionsPart = " -c " + optionsPart;
    appendWords(m_arguments, optionsPart);

    const std::string directory = PathNames::withoutTrailingSeparators(
        PathNames::directory(sourcePath));
    m_text = optionsPart + " -i" + directory;
    m_arguments.push_back("-i" + directory);

    if (lower.find("-qanalyze") == std::string::npos
        && lower.find("/qanalyze") == std::string::npos) {
        m_text += " -qANALYZE ";
        m_arguments.push_back("-qANALYZE");
    } else {
        m_text += " ";
    }
    m_text += sourcePath;
    m_arguments.push_back(std::move(sourcePath));
}
