#include "ExecTranslator.h"

#include "CicsResponseCodes.h"
#include "ExecBlock.h"
#include "Lexer.h"

#include <algorithm>

namespace {

using cobol::LexToken;
using cobol::TokenKind;

constexpr std::size_t fixedCodeStart = 8; ///< column where area A begins
constexpr std::size_t fixedCodeEnd = 72;  ///< last column of area B
constexpr std::size_t freeLineEnd = 250;
constexpr std::size_t longestLiteral = 60; ///< longer literals are passed as SPACE

bool isPunct(const std::vector<LexToken> &tokens, std::size_t i, std::string_view text)
{
    return i < tokens.size() && tokens[i].kind == TokenKind::Punctuation
           && tokens[i].text() == text;
}

bool isWord(const std::vector<LexToken> &tokens, std::size_t i)
{
    return i < tokens.size() && tokens[i].kind == TokenKind::Word;
}

/// DFHRESP(condition) or DFHVALUE(name) at `i`: its number as text, else empty.
std::string cicsValue(const std::vector<LexToken> &tokens, std::size_t i)
{
    if (!isWord(tokens, i) || (tokens[i].upper() != "DFHRESP" && tokens[i].upper() != "DFHVALUE")
        || !isPunct(tokens, i + 1, "(") || !isWord(tokens, i + 2) || !isPunct(tokens, i + 3, ")"))
        return {};
    if (tokens[i].upper() == "DFHVALUE")
        return "0";
    const auto value = CicsResponseCodes::value(tokens[i + 2].upper());
    return value ? std::to_string(*value) : std::string("0");
}

/// The identifier starting at `i` as COBOL text (":A.B" of SQL becomes "B OF A"); `end` is set to
/// the token after it.
std::string identifier(const std::vector<LexToken> &tokens,
                       std::size_t i,
                       std::size_t last,
                       std::size_t &end)
{
    if ((tokens[i].upper() == "LENGTH" || tokens[i].upper() == "ADDRESS") && i + 2 < last
        && tokens[i + 1].upper() == "OF")
        return std::string(tokens[i].upper())
            .append(" OF ")
            .append(identifier(tokens, i + 2, last, end));
    std::string text(tokens[i].upper());
    end = i + 1;
    if (isPunct(tokens, end, ".") && end + 1 < last && tokens[end].glued && isWord(tokens, end + 1)
        && tokens[end + 1].glued) {
        text = std::string(tokens[end + 1].upper()).append(" OF ").append(text);
        end += 2;
    }
    while (end + 1 < last && isWord(tokens, end)
           && (tokens[end].upper() == "OF" || tokens[end].upper() == "IN")
           && isWord(tokens, end + 1)) {
        text.append(" OF ").append(tokens[end + 1].upper());
        end += 2;
    }
    if (isPunct(tokens, end, "(") && tokens[end].glued) {
        int depth = 0;
        std::string inner;
        for (std::size_t k = end; k < last; ++k) {
            const LexToken &t = tokens[k];
            if (isPunct(tokens, k, "("))
                ++depth;
            const bool tight = inner.empty() || t.text() == ")" || inner.back() == '(';
            inner += tight ? "" : " ";
            inner += t.kind == TokenKind::Literal ? t.text() : t.upper();
            if (isPunct(tokens, k, ")") && --depth == 0) {
                text += inner;
                end = k + 1;
                break;
            }
        }
    }
    return text;
}

std::string programFor(const cobol::ExecBlock &block)
{
    switch (block.language) {
    case cobol::ExecBlock::Language::Cics:
        return "'CHXCICS'";
    case cobol::ExecBlock::Language::Sql:
        return "'CHXSQL'";
    case cobol::ExecBlock::Language::Dli:
        return "'CHXDLI'";
    case cobol::ExecBlock::Language::Unknown:
        break;
    }
    return "'CHXEXEC'";
}

/// SQL statements that run nothing where they stand: the translation of such a block in the
/// procedure division is CONTINUE.
bool declarative(const std::string &detail)
{
    return detail == "SQL DECLARE TABLE" || detail == "SQL DECLARE STATEMENT"
           || detail == "SQL WHENEVER" || detail == "SQL BEGIN DECLARE SECTION"
           || detail == "SQL END DECLARE SECTION";
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(cobol::expandTabs(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

std::vector<std::string> ExecTranslator::layOut(const std::vector<Piece> &pieces,
                                                std::vector<std::uint32_t> &lines) const
{
    const bool fixed = m_format == cobol::SourceFormat::Fixed;
    const std::size_t limit = fixed ? fixedCodeEnd : freeLineEnd;
    const std::string areaA(fixed ? fixedCodeStart - 1 : 0, ' ');
    const std::string first(fixed ? 11 : 4, ' ');
    const std::string continued(fixed ? 15 : 8, ' ');
    std::vector<std::string> out;
    std::string current;
    bool statementStart = true;
    for (const Piece &piece : pieces) {
        if (piece.text == "\n") {
            if (!current.empty()) {
                out.push_back(current);
                current.clear();
            }
            statementStart = true;
            continue;
        }
        if (current.empty()) {
            current = (piece.areaA ? areaA : statementStart ? first : continued) + piece.text;
            lines.push_back(piece.line);
        } else if (current.size() + 1 + piece.text.size() <= limit) {
            current += " " + piece.text;
        } else {
            out.push_back(current);
            current = continued + piece.text;
            lines.push_back(piece.line);
        }
        statementStart = false;
    }
    if (!current.empty())
        out.push_back(current);
    return out;
}

std::vector<ExecTranslator::Piece> ExecTranslator::arguments(const std::vector<LexToken> &tokens,
                                                             std::size_t first,
                                                             std::size_t last) const
{
    std::vector<Piece> pieces;
    std::string mode;
    for (std::size_t k = first; k < last;) {
        const LexToken &t = tokens[k];
        const auto found = m_plan.arguments.find({t.place.include, t.place.line, t.place.column});
        if (found == m_plan.arguments.end()) {
            ++k;
            continue;
        }
        std::string text;
        std::size_t end = k + 1;
        if (const std::string value = cicsValue(tokens, k); !value.empty()) {
            text = value;
            end = k + 4;
        } else if (found->second == TranslationPlan::Pass::Quoted) {
            text.assign(1, '\'').append(t.upper()).append(1, '\'');
        } else if (t.kind == TokenKind::Literal || t.kind == TokenKind::Number) {
            text = t.text().size() > longestLiteral ? std::string("SPACE") : std::string(t.text());
        } else if (t.kind == TokenKind::Word) {
            text = identifier(tokens, k, last, end);
        } else {
            ++k;
            continue;
        }
        const std::string wanted = found->second == TranslationPlan::Pass::Reference
                                       ? "BY REFERENCE"
                                       : "BY CONTENT";
        if (wanted != mode) {
            pieces.push_back({wanted, t.place.line});
            mode = wanted;
        }
        pieces.push_back({text, t.place.line});
        k = end;
    }
    return pieces;
}

ExecTranslator::Edit ExecTranslator::blockEdit(const std::vector<LexToken> &tokens,
                                               std::size_t begin,
                                               std::size_t &next) const
{
    const cobol::ExecBlock block = cobol::ExecBlock::find(tokens, begin, tokens.size());
    next = std::max(block.end, begin + 1);
    const LexToken &exec = tokens[begin];
    const LexToken &lastToken = tokens[next - 1];
    Edit edit;
    edit.line = exec.place.line;
    edit.column = exec.place.column;
    edit.endLine = lastToken.place.line;
    edit.endColumn = lastToken.place.column + lastToken.length;

    const auto known = m_plan.blocks.find({exec.place.include, exec.place.line, exec.place.column});
    TranslationPlan::Block info;
    if (known != m_plan.blocks.end()) {
        info = known->second;
    } else {
        info.detail = block.languageName();
        if (block.bodyBegin < block.bodyEnd)
            info.detail.append(" ").append(tokens[block.bodyBegin].upper());
    }
    const std::uint32_t line = exec.place.line;
    const bool periodFollows = cobol::ExecBlock::isSeparatorPeriod(tokens, next);

    if (info.detail == "SQL INCLUDE" && block.bodyBegin + 1 < block.bodyEnd) {
        const LexToken &member = tokens[block.bodyBegin + 1];
        edit.pieces = {{"COPY", line},
                       {std::string(member.kind == TokenKind::Literal ? member.text()
                                                                      : member.upper())
                            + (periodFollows ? "" : "."),
                        line}};
        return edit;
    }
    if (!info.procedure) {
        // A declaration of the data division: nothing remains, not even its period.
        if (periodFollows) {
            edit.endLine = tokens[next].place.line;
            edit.endColumn = tokens[next].place.column + 1;
            ++next;
        }
        return edit;
    }
    if (declarative(info.detail) || block.language == cobol::ExecBlock::Language::Unknown) {
        edit.pieces = {{"CONTINUE", line}};
        return edit;
    }
    edit.pieces = {{"CALL", line},
                   {programFor(block), line},
                   {"USING", line},
                   {"BY CONTENT", line},
                   {"'" + info.detail + "'", line}};
    for (Piece &piece : arguments(tokens, block.bodyBegin, block.bodyEnd))
        edit.pieces.push_back(std::move(piece));
    edit.pieces.push_back({"END-CALL", lastToken.place.line});
    return edit;
}

std::vector<ExecTranslator::Edit> ExecTranslator::blockEdits(
    std::uint32_t include, const std::vector<LexToken> &tokens) const
{
    (void) include;
    std::vector<Edit> edits;
    for (std::size_t i = 0; i < tokens.size();) {
        if (tokens[i].is("EXEC")) {
            std::size_t next = i + 1;
            edits.push_back(blockEdit(tokens, i, next));
            i = next;
            continue;
        }
        if (const std::string value = cicsValue(tokens, i);
            !value.empty() && tokens[i + 3].place.line == tokens[i].place.line) {
            Edit edit;
            edit.inPlace = true;
            edit.line = edit.endLine = tokens[i].place.line;
            edit.column = tokens[i].place.column;
            edit.endColumn = tokens[i + 3].place.column + 1;
            edit.replacement = value;
            edits.push_back(std::move(edit));
            i += 4;
            continue;
        }
        ++i;
    }
    return edits;
}

std::vector<ExecTranslator::Edit> ExecTranslator::implicitEdits(
    const std::vector<LexToken> &tokens) const
{
    std::vector<std::string> linkage, working;
    for (const std::string &member : m_plan.implicitMembers)
        (member == "DLZDIB" ? working : linkage).push_back(member);
    auto header = [&](std::string_view first, std::string_view second) -> std::size_t {
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i)
            if (tokens[i].is(first) && tokens[i + 1].is(second))
                return i;
        return tokens.size();
    };
    const std::size_t data = header("DATA", "DIVISION");
    const std::size_t ws = header("WORKING-STORAGE", "SECTION");
    const std::size_t ls = header("LINKAGE", "SECTION");
    const std::size_t procedure = header("PROCEDURE", "DIVISION");
    if (procedure == tokens.size())
        return {};
    const std::uint32_t procedureLine = tokens[procedure].place.line;
    // After a header: at the start of the line after its period.
    auto after = [&](std::size_t at) {
        std::size_t k = at + 2;
        const std::uint32_t line = k < tokens.size() && tokens[k].text() == "."
                                       ? tokens[k].place.line
                                       : tokens[at].place.line;
        return line + 1;
    };
    auto copies = [&](const std::vector<std::string> &members, std::uint32_t line) {
        std::vector<Piece> pieces;
        for (const std::string &member : members) {
            pieces.push_back({"COPY " + member + ".", line});
            pieces.push_back({"\n", line});
        }
        return pieces;
    };
    auto insertion = [&](std::uint32_t line, std::vector<Piece> pieces) {
        Edit edit;
        edit.line = edit.endLine = line;
        edit.column = edit.endColumn = 1;
        edit.pieces = std::move(pieces);
        return edit;
    };
    std::vector<Edit> edits;
    const bool needsData = data == tokens.size() && (!working.empty() || !linkage.empty());
    std::vector<Piece> beforeProcedure;
    if (needsData)
        beforeProcedure = {{"DATA DIVISION.", procedureLine, true}, {"\n", procedureLine}};
    if (!working.empty()) {
        if (ws < tokens.size()) {
            edits.push_back(insertion(after(ws), copies(working, tokens[ws].place.line)));
        } else {
            std::vector<Piece> pieces{{"WORKING-STORAGE SECTION.", procedureLine, true},
                                      {"\n", procedureLine}};
            for (Piece &piece : copies(working, procedureLine))
                pieces.push_back(std::move(piece));
            if (ls < tokens.size())
                edits.push_back(insertion(tokens[ls].place.line, std::move(pieces)));
            else
                beforeProcedure.insert(beforeProcedure.end(), pieces.begin(), pieces.end());
        }
    }
    if (!linkage.empty()) {
        if (ls < tokens.size()) {
            edits.push_back(insertion(after(ls), copies(linkage, tokens[ls].place.line)));
        } else {
            beforeProcedure.push_back({"LINKAGE SECTION.", procedureLine, true});
            beforeProcedure.push_back({"\n", procedureLine});
            for (Piece &piece : copies(linkage, procedureLine))
                beforeProcedure.push_back(std::move(piece));
        }
    }
    if (!beforeProcedure.empty())
        edits.push_back(insertion(procedureLine, std::move(beforeProcedure)));
    return edits;
}

ExecTranslator::Result ExecTranslator::translate(std::uint32_t include, std::string_view text) const
{
    std::vector<std::string> lines = splitLines(text);
    std::vector<cobol::Diagnostic> ignored;
    cobol::TextStore store; // the tokens' texts made by the lexer
    const std::vector<LexToken> tokens = cobol::Lexer(text, include, m_format, ignored, &store)
                                             .tokenize();
    std::vector<Edit> edits = blockEdits(include, tokens);
    if (include == 0)
        for (Edit &edit : implicitEdits(tokens))
            edits.push_back(std::move(edit));
    std::stable_sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });

    // Same-width replacements go straight into the lines.
    for (const Edit &edit : edits) {
        if (!edit.inPlace || edit.line == 0 || edit.line > lines.size())
            continue;
        std::string &line = lines[edit.line - 1];
        const std::size_t from = edit.column - 1;
        const std::size_t width = edit.endColumn - edit.column;
        if (from + width > line.size() || edit.replacement.size() > width)
            continue;
        line.replace(from,
                     width,
                     edit.replacement + std::string(width - edit.replacement.size(), ' '));
    }

    const bool fixed = m_format == cobol::SourceFormat::Fixed;
    Result result;
    auto emit = [&](std::string line, std::uint32_t original) {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        result.text += line;
        result.text += '\n';
        result.originalLines.push_back(original);
    };
    // Line `number` with only the columns [from, to) of its code kept (to = 0: to the end).
    auto partial = [&](std::uint32_t number, std::uint32_t from, std::uint32_t to) {
        const std::string &line = lines[number - 1];
        if (from <= 1 && to == 0) {
            emit(line, number);
            return;
        }
        std::string out = line;
        const std::size_t codeStart = fixed ? fixedCodeStart : 1;
        const std::size_t codeEnd = fixed ? std::min(out.size(), fixedCodeEnd) : out.size();
        bool code = false;
        for (std::size_t column = codeStart; column <= codeEnd; ++column) {
            const bool keep = column >= from && (to == 0 || column < to);
            if (!keep)
                out[column - 1] = ' ';
            code = code || (keep && out[column - 1] != ' ');
        }
        if (fixed && from > codeStart && out.size() >= codeStart - 1)
            out[codeStart - 2] = ' '; // the indicator belongs to the part already written
        if (code)
            emit(out, number);
    };

    std::uint32_t line = 1, column = 1;
    for (const Edit &edit : edits) {
        if (edit.inPlace || edit.line == 0 || edit.line > lines.size() + 1)
            continue;
        for (; line < edit.line && line <= lines.size(); ++line, column = 1)
            partial(line, column, 0);
        if (edit.line <= lines.size() && edit.column > column)
            partial(edit.line, column, edit.column);
        std::vector<std::uint32_t> origins;
        const std::vector<std::string> generated = layOut(edit.pieces, origins);
        for (std::size_t k = 0; k < generated.size(); ++k)
            emit(generated[k], k < origins.size() ? origins[k] : edit.line);
        line = edit.endLine;
        column = edit.endColumn;
    }
    for (; line <= lines.size(); ++line, column = 1)
        partial(line, column, 0);
    return result;
}
