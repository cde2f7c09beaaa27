#include "ExecBlock.h"

#include <algorithm>

namespace cobol {

using namespace std::string_view_literals;

namespace {

bool startsCobolStatement(const std::vector<LexToken> &tokens, std::size_t index)
{
    const LexToken &token = tokens[index];
    if (token.kind != TokenKind::Word || index == 0)
        return false;
    const LexToken &before = tokens[index - 1];
    if (before.place.line == token.place.line && before.place.include == token.place.include)
        return false;
    return ExecBlock::isCobolOnlyVerb(token.upper());
}

} // namespace

bool ExecBlock::isCobolOnlyVerb(std::string_view word)
{
    static const char *const verbs[] = {"MOVE",       "PERFORM",     "IF",          "DISPLAY",
                                        "STOP",       "GOBACK",      "COMPUTE",     "ADD",
                                        "SUBTRACT",   "MULTIPLY",    "DIVIDE",      "EVALUATE",
                                        "INITIALIZE", "INSPECT",     "STRING",      "UNSTRING",
                                        "ACCEPT",     "EXIT",        "SEARCH",      "ELSE",
                                        "END-IF",     "END-PERFORM", "END-EVALUATE"};
    for (const char *verb : verbs)
        if (word == verb)
            return true;
    return false;
}

bool ExecBlock::isSeparatorPeriod(const std::vector<LexToken> &tokens, std::size_t index)
{
    if (index >= tokens.size() || tokens[index].kind != TokenKind::Punctuation
        || tokens[index].text() != "."sv)
        return false;
    if (index + 1 == tokens.size())
        return true;
    const LexToken &next = tokens[index + 1];
    return !next.glued || next.place.line != tokens[index].place.line
           || next.place.include != tokens[index].place.include;
}

ExecBlock ExecBlock::find(const std::vector<LexToken> &tokens, std::size_t begin, std::size_t limit)
{
    ExecBlock block;
    limit = std::min(limit, tokens.size());
    block.begin = begin;
    std::size_t i = begin + 1;
    if (i < limit && tokens[i].kind == TokenKind::Word && !tokens[i].is("END-EXEC")) {
        block.languageWord = tokens[i].upper();
        if (block.languageWord == "CICS")
            block.language = Language::Cics;
        else if (block.languageWord == "SQL" || block.languageWord == "SQLIMS")
            block.language = Language::Sql;
        else if (block.languageWord == "DLI")
            block.language = Language::Dli;
        ++i;
    }
    block.bodyBegin = i;
    for (; i < limit; ++i) {
        const LexToken &token = tokens[i];
        if (token.is("END-EXEC")) {
            block.bodyEnd = i;
            block.end = i + 1;
            block.terminated = true;
            return block;
        }
        if (token.is("EXEC") || isSeparatorPeriod(tokens, i) || startsCobolStatement(tokens, i))
            break;
    }
    block.bodyEnd = i;
    block.end = i;
    return block;
}

std::string ExecBlock::languageName() const
{
    switch (language) {
    case Language::Cics:
        return "CICS";
    case Language::Sql:
        return "SQL";
    case Language::Dli:
        return "DLI";
    case Language::Unknown:
        break;
    }
    return languageWord;
}

} // namespace cobol
