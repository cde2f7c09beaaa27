// The impact facts as kelmkpu makes them from one pass over the statements and one over the
// tokens: statement texts against a plain reading of all tokens, CALL arguments in token order,
// PROCEDURE DIVISION USING parameters.
#include "AdtFile.h"
#include "AnalysisDataAdapter.h"
#include "DbImpactFacts.h"
#include "FrontEnd.h"
#include "ImpactRecorder.h"
#include "StatementTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using kelmkpu::StatementTexts;
using Token = cobol::AdtFile::TokenView;

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

/// The text of tokens `first`..`last` read from all of them at once: the statement's words,
/// running on to the end of its last line unless a statement, period or scope word comes first.
std::string expectedText(const std::vector<Token> &tokens,
                         const std::set<std::uint32_t> &starts,
                         std::uint32_t first,
                         std::uint32_t lastToken,
                         const std::string &fallback)
{
    std::size_t last = std::min<std::size_t>(lastToken, tokens.size());
    while (last >= 1 && last < tokens.size()) {
        const Token &end = tokens[last - 1];
        const Token &next = tokens[last];
        const std::string word = upper(next.text);
        if (next.place.include != end.place.include || next.place.line != end.place.line
            || word == "." || word == "ELSE" || word == "WHEN" || word.starts_with("END-")
            || starts.contains(static_cast<std::uint32_t>(last + 1)))
            break;
        ++last;
    }
    std::string text;
    const Token *previous = nullptr;
    for (std::size_t t = std::max<std::size_t>(first, 1); t <= last; ++t) {
        const Token &token = tokens[t - 1];
        if (token.text == "." && t == last)
            break;
        const bool adjacent = previous && previous->place.include == token.place.include
                              && previous->place.line == token.place.line
                              && previous->place.column + previous->length == token.place.column;
        if (previous && !adjacent)
            text += ' ';
        text += token.text;
        previous = &token;
        if (text.size() > DbImpactFacts::maxText) {
            text.resize(DbImpactFacts::maxText - 3);
            text += "...";
            break;
        }
    }
    return text.empty() ? fallback : text;
}

TEST(ImpactFacts, statementTextsFromOnePassAreThoseReadFromAllTokens)
{
    // Random token streams over a few lines and includes, with periods, scope words, adjacent
    // and spaced words, and random ranges: nested, empty, reversed, past the last token.
    const std::vector<std::string> words = {"MOVE",
                                            "A",
                                            "TO",
                                            "B",
                                            ".",
                                            "ELSE",
                                            "when",
                                            "END-IF",
                                            "end-perform",
                                            "(",
                                            ")",
                                            "X-1",
                                            "'LONG LITERAL'"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const std::size_t count = random() % 60;
        std::vector<Token> tokens;
        std::uint32_t include = 0, line = 1, column = 8;
        for (std::size_t t = 0; t < count; ++t) {
            if (random() % 5 == 0) {
                ++line;
                column = 8 + random() % 4;
                if (random() % 4 == 0)
                    include = random() % 2;
            }
            Token token;
            token.text = words[random() % words.size()];
            if (round % 7 == 0) // long texts: cut at the limit
                token.text = words.back();
            token.length = static_cast<std::uint32_t>(token.text.size());
            token.place = {include, line, column};
            column += token.length + random() % 2;
            tokens.push_back(token);
        }
        const auto tokenCount = static_cast<std::uint32_t>(tokens.size());
        std::set<std::uint32_t> starts;
        std::vector<std::string> expected;
        std::vector<std::string> texts;
        StatementTexts made(tokenCount, [&](std::uint32_t text, std::string &&value) {
            ASSERT_LT(text, texts.size());
            EXPECT_EQ(texts[text], "<none>") << "text " << text << " given twice";
            texts[text] = std::move(value);
        });
        struct Request
        {
            std::uint32_t first, last;
        };
        std::vector<Request> requests;
        for (std::size_t r = random() % 30; r > 0; --r) {
            const std::uint32_t first = random() % (tokenCount + 3);
            const std::uint32_t last = random() % 4 == 0 ? random() % (tokenCount + 3)
                                                         : first + random() % 8;
            requests.push_back({first, last});
            starts.insert(first);
            made.addStatementStart(first);
        }
        for (const Request &r : requests) {
            expected.push_back(expectedText(tokens, starts, r.first, r.last, "VERB"));
            made.add(r.first, r.last, "VERB");
            texts.push_back("<none>");
        }
        for (const Token &token : tokens)
            made.take(token);
        made.finish();
        EXPECT_EQ(texts, expected);
    }
}

/// The item ranges of the facts, by data name.
DbImpactFacts::Range rangeOf(const cobol::AnalysisData &data,
                             const DbImpactFacts &facts,
                             const std::string &name)
{
    for (const cobol::DataItem &item : data.items)
        if (item.name == name)
            return facts.items.at(item.id - 1);
    ADD_FAILURE() << name << " is not an item";
    return {};
}

TEST(ImpactFacts, callArgumentsInTokenOrderAndUsingParametersComeFromTheTokens)
{
    const std::string source = "       IDENTIFICATION DIVISION.\n"
                               "       PROGRAM-ID. CALLER.\n"
                               "       DATA DIVISION.\n"
                               "       WORKING-STORAGE SECTION.\n"
                               "       01  WS-A    PIC X(4).\n"
                               "       01  WS-B    PIC 9(6).\n"
                               "       01  WS-PGM  PIC X(8).\n"
                               "       LINKAGE SECTION.\n"
                               "       01  LK-GRP.\n"
                               "           05  LK-A  PIC X(2).\n"
                               "       01  LK-B    PIC X(3).\n"
                               "       PROCEDURE DIVISION USING LK-A OF LK-GRP LK-B.\n"
                               "           CALL 'subd' USING OMITTED WS-A\n"
                               "                BY CONTENT WS-B OMITTED.\n"
                               "           CALL WS-PGM USING WS-B WS-A.\n"
                               "           GOBACK.\n";
    const cobol::FrontEnd::Result parsed = cobol::FrontEnd(cobol::FrontEnd::Options())
                                               .parseText("CALLER.cbl", source);
    ASSERT_TRUE(parsed.recognised);
    const std::unique_ptr<cobol::AdtFile> file = cobol::AdtFile::fromData(parsed.data);
    const kelmkpu::ProgramModel model = kelmkpu::AnalysisDataAdapter::toModel(*file);
    const DbImpactFacts facts = kelmkpu::ImpactRecorder::build(*file, model);

    ASSERT_EQ(facts.calls.size(), 2u);
    const DbImpactFacts::Range none{};
    const DbImpactFacts::Range a = rangeOf(parsed.data, facts, "WS-A");
    const DbImpactFacts::Range b = rangeOf(parsed.data, facts, "WS-B");
    EXPECT_EQ(facts.calls[0].target, "SUBD");
    EXPECT_EQ(facts.calls[0].nameItem, "");
    EXPECT_EQ(facts.calls[0].arguments, (std::vector<DbImpactFacts::Range>{none, a, b, none}));
    EXPECT_EQ(facts.statements.at(facts.calls[0].statement).text,
              "CALL 'subd' USING OMITTED WS-A BY CONTENT WS-B OMITTED");
    EXPECT_EQ(facts.calls[1].target, "");
    EXPECT_EQ(facts.calls[1].nameItem, "WS-PGM");
    EXPECT_EQ(facts.calls[1].arguments, (std::vector<DbImpactFacts::Range>{b, a}));
    // A qualifier is not a parameter of its own.
    EXPECT_EQ(facts.parameters,
              (std::vector<DbImpactFacts::Range>{rangeOf(parsed.data, facts, "LK-A"),
                                                 rangeOf(parsed.data, facts, "LK-B")}));

    // Releasing the statements and the tokens as they are read changes nothing but the file.
    const std::unique_ptr<cobol::AdtFile> released = cobol::AdtFile::fromData(parsed.data);
    EXPECT_EQ(kelmkpu::ImpactRecorder::buildReleasingInput(*released, model).encode(),
              facts.encode());
    EXPECT_FALSE(released->tokens().next());
    bool anyStatement = false;
    released->forEachStatement([&](const cobol::Statement &) { anyStatement = true; });
    EXPECT_FALSE(anyStatement);
}

TEST(ImpactFacts, factsPackedPieceByPieceAreTheBytesPackedAtOnce)
{
    // Enough facts for several pieces, numbers of every width.
    DbImpactFacts facts;
    facts.program = "BIG";
    for (std::uint32_t i = 0; i < 20000; ++i) {
        facts.statements.push_back({i % 3, i, i % 72, "MOVE A-" + std::to_string(i) + " TO B"});
        facts.accesses.push_back({i, {i % 5, i * 131, i % 300}, DbImpactFacts::readWrite});
        facts.flows.push_back({i,
                               static_cast<DbImpactFacts::FlowKind>(i % 3),
                               {1, i, 4},
                               {2, 0, 4},
                               static_cast<std::int32_t>(i % 7) - 3});
    }
    std::string pieces;
    std::size_t count = 0;
    facts.encode([&](std::string_view piece) {
        pieces += piece;
        ++count;
    });
    EXPECT_GT(count, 2u);
    EXPECT_EQ(pieces, facts.encode());

    // Accesses and flows collected packed (the later ones of each, past the members) are the
    // same bytes, streamed or at once, and unpack to the same records.
    DbImpactFacts split = facts;
    split.accesses.resize(7);
    split.flows.clear();
    DbImpactFacts::PackedRecords accesses;
    DbImpactFacts::PackedRecords flows;
    for (std::size_t i = 7; i < facts.accesses.size(); ++i)
        accesses.add(facts.accesses[i]);
    for (const DbImpactFacts::Flow &flow : facts.flows)
        flows.add(flow);
    EXPECT_GT(accesses.pieces().size(), 1u);
    EXPECT_EQ(split.encode(&accesses, &flows), pieces);
    std::string streamed;
    split.encode([&](std::string_view piece) { streamed += piece; }, &accesses, &flows);
    EXPECT_EQ(streamed, pieces);
    accesses.moveTo(split.accesses);
    flows.moveTo(split.flows);
    EXPECT_EQ(accesses.size(), 0u);
    EXPECT_EQ(split.encode(), pieces);
}

} // namespace
