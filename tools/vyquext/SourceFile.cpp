#include "SourceFile.h"

#include "Lexer.h"

#include "IException.h"
#include "InputFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vyquext {

namespace {

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string withoutBlanks(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '"' && c != '\'')
            out += c;
    return out;
}

} // namespace

SourceFile SourceFile::load(const std::string &path)
{
    return fromText(readInputFile(path, "source file"), path);
}

SourceFile SourceFile::fromText(const std::string &text, const std::string &path)
{
    SourceFile file;
    file.path = path;
    std::size_t start = 0;
    std::size_t crlfLines = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool ended = end != std::string::npos;
        if (!ended)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (ended && !line.empty() && line.back() == '\r') {
            line.pop_back();
            ++crlfLines;
        }
        file.original.push_back(line);
        file.lines.push_back(expandTabs(line));
        file.finalNewline = ended;
        start = end + 1;
    }
    file.crlf = crlfLines > 0 && crlfLines * 2 >= file.lines.size();
    file.format = detectFormat(file.lines, /*freeByDefault=*/false);
    return file;
}

SourceFormat SourceFile::detectFormat(const std::vector<std::string> &lines, bool freeByDefault)
{
    // Directives decide; they usually stand on the first lines, so a bounded look is enough.
    const std::size_t limit = std::min<std::size_t>(lines.size(), 50);
    for (std::size_t i = 0; i < limit; ++i) {
        const std::string squeezed = upper(withoutBlanks(lines[i]));
        if (squeezed.find(">>SOURCEFORMATISFREE") != std::string::npos
            || squeezed.find(">>SOURCEFORMATFREE") != std::string::npos
            || squeezed.find(">>SOURCEFREE") != std::string::npos
            || squeezed.find("$SETSOURCEFORMAT(FREE)") != std::string::npos
            || squeezed.find("$SETSOURCEFORMATFREE") != std::string::npos)
            return SourceFormat::Free;
        if (squeezed.find(">>SOURCEFORMATISFIXED") != std::string::npos
            || squeezed.find(">>SOURCEFORMATFIXED") != std::string::npos
            || squeezed.find(">>SOURCEFIXED") != std::string::npos)
            return SourceFormat::Fixed;
    }
    return freeByDefault ? SourceFormat::Free : SourceFormat::Fixed;
}

std::string SourceFile::expandTabs(const std::string &text)
{
    // The same columns as the COBOL lexer counts, so that both tools agree on every position.
    return cobol::expandTabs(text);
}

} // namespace vyquext
