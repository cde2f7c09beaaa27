#include "LineLayout.h"

#include <algorithm>
#include <map>
#include <set>

namespace vyquext {

namespace {

constexpr std::size_t fixedCodeColumns = 65; // columns 8-72

std::string rightTrimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

/// Splits `code` into the comment part ("*>..." outside literals) and the code before it;
/// false when a literal stays open at the end of the line.
bool splitComment(const std::string &code, std::string &body, std::string &comment)
{
    char quote = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '*' && i + 1 < code.size() && code[i + 1] == '>') {
            body = rightTrimmed(code.substr(0, i));
            comment = code.substr(i);
            return true;
        }
    }
    body = rightTrimmed(code);
    comment.clear();
    return quote == 0;
}

/// Cuts `code` into pieces at blanks outside literals, each at most `first` (the first piece)
/// or `rest` characters long once its leading blanks are dropped.
enum class Breaks { OutsideParentheses, Anywhere };

std::optional<std::vector<std::string>> cut(const std::string &code,
                                            std::size_t first,
                                            std::size_t rest,
                                            Breaks where)
{
    std::vector<std::size_t> breaks; // positions of blanks where a line may end
    char quote = 0;
    int depth = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ' ' && (depth <= 0 || where == Breaks::Anywhere)) {
            // Keep FUNCTION with the function's name.
            const bool afterFunction = i >= 8 && code.compare(i - 8, 8, "FUNCTION") == 0
                                       && (i == 8 || code[i - 9] == ' ' || code[i - 9] == '(');
            if (!afterFunction || where == Breaks::Anywhere)
                breaks.push_back(i);
        }
    }
    breaks.push_back(code.size());
    std::vector<std::string> pieces;
    std::size_t start = 0;
    std::size_t limit = first;
    while (start < code.size()) {
        while (start < code.size() && code[start] == ' ' && !pieces.empty())
            ++start;
        if (start >= code.size())
            break;
        std::size_t best = 0;
        for (std::size_t position : breaks)
            if (position > start && position - start <= limit)
                best = position;
        if (best == 0)
            return std::nullopt;
        pieces.push_back(rightTrimmed(code.substr(start, best - start)));
        start = best;
        limit = rest;
    }
    return pieces;
}

} // namespace

std::optional<std::vector<std::string>> LineLayout::layOut(const SourceFile &source,
                                                           std::size_t line,
                                                           std::vector<Edit> edits)
{
    const std::string &text = source.lines[line];
    const bool fixed = source.format == SourceFormat::Fixed;
    if (fixed && text.size() > 6 && text[6] == '-')
        return std::nullopt; // never re-flow a continued literal
    const std::size_t codeBegin = fixed ? 7 : 0;
    const std::size_t codeEnd = fixed ? std::min<std::size_t>(text.size(), 72) : text.size();
    std::string prefix = fixed ? text.substr(0, std::min<std::size_t>(text.size(), 7)) : "";
    prefix.resize(codeBegin, ' ');
    const std::string identification = fixed && text.size() > 72 ? text.substr(72) : "";
    std::string code = codeEnd > codeBegin ? text.substr(codeBegin, codeEnd - codeBegin) : "";

    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
        return a.begin > b.begin;
    });
    std::size_t limitEnd = codeEnd;
    for (const Edit &edit : edits) {
        if (edit.begin < codeBegin || edit.end > limitEnd || edit.begin > edit.end)
            return std::nullopt;
        code.replace(edit.begin - codeBegin, edit.end - edit.begin, edit.text);
        limitEnd = edit.begin; // edits must not overlap
    }

    std::string body;
    std::string comment;
    if (!splitComment(code, body, comment))
        return std::nullopt;
    const std::size_t width = fixed ? fixedCodeColumns : freeLineLimit;
    std::vector<std::string> out;
    if (body.size() + (comment.empty() ? 0 : comment.size() + 1) <= width) {
        std::string result = prefix + body + (comment.empty() ? "" : " " + comment);
        if (!identification.empty()) {
            result.resize(72, ' ');
            result += identification;
        }
        out.push_back(std::move(result));
        return out;
    }

    const std::size_t leading = body.find_first_not_of(' ');
    // Continuations go four columns right of the statement, at least into Area B (column 12).
    std::size_t indent = (leading == std::string::npos ? 0 : leading) + 4;
    if (indent + 20 > width)
        indent = 4;
    // Whole function references read better; split inside one only when nothing else fits.
    auto pieces = cut(body, width, width - indent, Breaks::OutsideParentheses);
    if (!pieces)
        pieces = cut(body, width, width - indent, Breaks::Anywhere);
    if (!pieces)
        return std::nullopt;
    const char indicator = fixed && (text.size() > 6) && (text[6] == 'D' || text[6] == 'd')
                               ? text[6]
                               : ' ';
    for (std::size_t i = 0; i < pieces->size(); ++i) {
        std::string result;
        if (i == 0) {
            result = prefix + (*pieces)[0];
            if (!identification.empty()) {
                result.resize(72, ' ');
                result += identification;
            }
        } else {
            result = fixed ? std::string(6, ' ') + indicator : std::string();
            result += std::string(indent, ' ') + (*pieces)[i];
        }
        out.push_back(result);
    }
    if (!comment.empty()) {
        std::string &last = out.back();
        if (last.size() + 1 + comment.size() <= codeBegin + width
            && (out.size() > 1 || identification.empty()))
            last += " " + comment;
        else
            out.push_back((fixed ? std::string(6, ' ') + indicator : std::string())
                          + std::string(indent, ' ') + comment.substr(0, width - indent));
    }
    return out;
}

std::string LineLayout::apply(const SourceFile &source, ConversionLog &log)
{
    std::map<std::size_t, std::vector<std::string>> replaced;
    bool settled = false;
    while (!settled) {
        settled = true;
        replaced.clear();
        std::map<std::size_t, std::vector<Edit>> byLine;
        for (const Edit &edit : log.edits)
            if (!log.changes[edit.change].undone)
                byLine[edit.line].push_back(edit);
        for (auto &[line, edits] : byLine) {
            auto lines = layOut(source, line, edits);
            if (lines) {
                replaced[line] = std::move(*lines);
                continue;
            }
            for (const Edit &edit : edits) {
                Change &change = log.changes[edit.change];
                if (!change.undone) {
                    change.undone = true;
                    log.addRemark(Remark::Severity::Warning,
                                  change.line,
                                  change.what + " \"" + change.oldText + "\"",
                                  "the rewritten line cannot be laid out in the source's format");
                }
            }
            settled = false;
            break;
        }
    }
    const std::string lineEnd = source.crlf ? "\r\n" : "\n";
    std::string out;
    for (std::size_t i = 0; i < source.lines.size(); ++i) {
        const bool last = i + 1 == source.lines.size();
        auto it = replaced.find(i);
        if (it == replaced.end()) {
            out += source.original[i];
        } else {
            for (std::size_t j = 0; j < it->second.size(); ++j) {
                if (j > 0)
                    out += lineEnd;
                out += it->second[j];
            }
        }
        if (!last || source.finalNewline)
            out += lineEnd;
    }
    return out;
}

} // namespace vyquext
