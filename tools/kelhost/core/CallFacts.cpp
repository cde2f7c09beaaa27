#include "CallFacts.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"

#include <algorithm>
#include <cctype>

namespace {

bool isCallKeyword(const DbToken &token)
{
    if (token.type() != DbToken::keyword || token.text().size() != 4)
        return false;
    return std::equal(token.text().begin(), token.text().end(), "CALL", [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

/// The token after `number` that is not a comment; null at the end.
const DbToken *nextWord(const DbPu &pu, std::uint32_t number)
{
    for (std::uint32_t next = number + 1; next <= pu.numberOfTokens(); ++next) {
        const DbToken *token = pu.numberToToken(next);
        if (token && token->type() != DbToken::comment)
            return token;
    }
    return nullptr;
}

} // namespace

std::string CallFacts::normalName(const std::string &text)
{
    std::string name = text;
    if (name.size() >= 2 && (name.front() == '\'' || name.front() == '"')
        && name.back() == name.front())
        name = name.substr(1, name.size() - 2);
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    name.erase(name.begin(), std::find_if(name.begin(), name.end(), notBlank));
    name.erase(std::find_if(name.rbegin(), name.rend(), notBlank).base(), name.end());
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(std::toupper(c));
    });
    return name;
}

std::vector<CallFacts::Call> CallFacts::callsOf(const DbPu &pu)
{
    std::vector<Call> calls;
    for (std::uint32_t number = 1; number <= pu.numberOfTokens(); ++number) {
        const DbToken *token = pu.numberToToken(number);
        if (!token || !isCallKeyword(*token))
            continue;
        Call call;
        call.token = number;
        call.line = token->expandedLine();
        if (const DbToken *operand = nextWord(pu, number)) {
            if (operand->type() == DbToken::literal) {
                call.target = normalName(operand->text());
            } else if (operand->type() == DbToken::dataName) {
                call.isDynamic = true;
                const DbSymbol *item = operand->dataSymbol();
                const std::string value = item ? item->value() : std::string();
                // Only a literal VALUE names a program; figurative constants (SPACES) do not.
                if (!value.empty() && (value.front() == '\'' || value.front() == '"'))
                    call.target = normalName(value);
            }
        }
        calls.push_back(std::move(call));
    }
    return calls;
}

std::vector<CallFacts::Caller> CallFacts::callersOf(DbEu &eu, const DbPu &pu)
{
    std::vector<Caller> callers;
    const std::string name = normalName(pu.puName());
    for (std::uint32_t number = 1; number <= eu.numberOfUnits(); ++number) {
        DbPu *other = eu.numberToPu(number);
        if (!other || other == &pu || (!other->isLoaded() && !other->load()))
            continue;
        for (const Call &call : callsOf(*other))
            if (!call.target.empty() && call.target == name)
                callers.push_back({other, call});
    }
    return callers;
}
