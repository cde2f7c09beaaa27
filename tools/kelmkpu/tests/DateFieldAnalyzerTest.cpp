#include "DateFieldAnalyzer.h"
#include "ModelBuilder.h"
#include "SeedFile.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace kelmkpu;
using kelmkpu::testing::ModelBuilder;

namespace {

AnalysisResult analyze(
    const ProgramModel &model,
    const std::string &seedText = {},
    DateFieldAnalyzer::Declarations declarations = DateFieldAnalyzer::Declarations::Off)
{
    EXPECT_EQ(DateFieldAnalyzer::validate(model), "");
    SeedFile seeds;
    std::istringstream in(seedText);
    seeds.parse(in, "test.asd");
    DateFieldAnalyzer analyzer(model);
    return analyzer.run(seeds, declarations);
}

/// "1-2 USED-AS-YEAR; 5-6 ALWAYS-YEAR" for one item; empty when the item is no date field.
std::string kinds(const AnalysisResult &result, std::uint32_t item)
{
    std::string text;
    for (const FieldFinding &field : result.fields) {
        if (field.item != item)
            continue;
        if (!text.empty())
            text += "; ";
        text += std::to_string(field.first) + "-" + std::to_string(field.first + field.length - 1)
                + " " + std::string(kindName(field.kind));
    }
    return text;
}

std::string runs(const AnalysisResult &result)
{
    std::string text;
    for (const IncludeResult &include : result.includes) {
        text += include.copybook + "/" + include.qualifier + ":";
        for (const KindRun &run : include.runs)
            text += " " + std::to_string(run.index) + "+" + std::to_string(run.length) + " "
                    + std::string(kindName(run.kind));
        text += "\n";
    }
    return text;
}

bool hasWarning(const AnalysisResult &result, const std::string &part)
{
    for (const Message &message : result.messages)
        if (message.severity == Severity::Warning && message.text.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(DateFieldAnalyzer, acceptFromDateMarksTheFirstTwoBytes)
{
    ModelBuilder b;
    b.area("WS");
    const auto date = b.display("WS-DATE", 6);
    const auto date8 = b.display("WS-DATE8", 8);
    b.acceptDate(date);
    b.acceptDate(date8, AcceptForm::DateYyyymmdd);
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, date), "1-2 USED-AS-YEAR");
    EXPECT_EQ(kinds(result, date8), "1-4 USED-AS-YEAR");
    EXPECT_FALSE(result.hasWarnings());
}

TEST(DateFieldAnalyzer, movesLineBytesUpByTheirKind)
{
    struct Case
    {
        const char *label;
        std::string expected;
    };
    ModelBuilder b;
    b.area("WS");
    const auto date = b.display("WS-DATE", 6);
    const auto alnum4 = b.alnum("OUT-X4", 4);
    const auto num4 = b.display("OUT-N4", 4);
    const auto packed4 = b.packed("OUT-P4", 4);   // 3 bytes: nibbles 0 d d | d d | d s
    const auto scaled = b.display("OUT-S", 3, 1); // 99V9: units digit at byte 2
    const auto binary = b.binary("OUT-B", 4, 2);
    const auto yy = b.display("WS-YY", 2);
    b.acceptDate(date);
    b.moveOps(b.op(date, 1, 2), b.op(yy)); // constant refmod: alphanumeric, byte i to byte i
    b.move(yy, alnum4);                    // alphanumeric receiver: left-aligned
    b.move(yy, num4);                      // numeric: right-aligned on the units digit
    b.move(yy, packed4);
    b.move(yy, scaled);
    b.move(yy, binary);
    const AnalysisResult result = analyze(b.model);
    for (const Case &c : std::vector<Case>{
             {"refmod target", "1-2 USED-AS-YEAR"},
             {"alphanumeric", "1-2 USED-AS-YEAR"},
             {"numeric display", "3-4 USED-AS-YEAR"},
             {"packed", "2-3 USED-AS-YEAR"},
             {"decimal point", "1-2 USED-AS-YEAR"},
             {"binary", "1-2 USED-AS-YEAR"},
         }) {
        static const std::map<std::string, std::uint32_t> items{{"refmod target", yy},
                                                                {"alphanumeric", alnum4},
                                                                {"numeric display", num4},
                                                                {"packed", packed4},
                                                                {"decimal point", scaled},
                                                                {"binary", binary}};
        EXPECT_EQ(kinds(result, items.at(c.label)), c.expected) << c.label;
    }
}

TEST(DateFieldAnalyzer, groupMoveCarriesTheYearIntoTheSubordinateItem)
{
    ModelBuilder b;
    b.area("IN");
    const auto in = b.alnum("IN-REC", 6);
    b.area("WS");
    b.group("WS-DATE", 6);
    const auto yy = b.display("WS-YY", 2);
    const auto mm = b.display("WS-MM", 2);
    b.display("WS-DD", 2);
    b.area("OUT");
    const auto out = b.alnum("OUT-DATE", 6);
    b.acceptDate(in);
    b.move(1, out); // the group WS-DATE is item 1
    b.moveOps(b.op(in), b.op(1));
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, yy), "1-2 USED-AS-YEAR");
    EXPECT_EQ(kinds(result, mm), "");
    EXPECT_EQ(kinds(result, out), "1-2 USED-AS-YEAR");
}

TEST(DateFieldAnalyzer, affineRuleTellsYearsFromDifferences)
{
    ModelBuilder b;
    b.area("WS");
    const auto cur = b.display("CUR-YY", 2);
    const auto birth = b.display("BIRTH-YY", 2);
    const auto next = b.display("NEXT-YY", 2);
    const auto age = b.display("AGE", 2);
    const auto term = b.display("TERM", 2);
    const auto exp = b.display("EXP-YY", 2);
    b.acceptDate(cur);
    b.acceptDate(birth);
    b.compute(next, {{cur, 1}});             // NEXT-YY = CUR-YY + 1
    b.compute(age, {{cur, 1}, {birth, -1}}); // AGE = CUR-YY - BIRTH-YY
    b.compute(exp, {{term, 1}, {cur, 1}});   // ADD TERM TO CUR-YY GIVING EXP-YY
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, next), "1-2 USED-AS-YEAR");
    EXPECT_EQ(kinds(result, age), "1-2 USED-AS-NON-YEAR");
    EXPECT_EQ(kinds(result, exp), "1-2 USED-AS-YEAR");
    EXPECT_EQ(kinds(result, term), "") << "an offset is not guessed to be anything";
    EXPECT_FALSE(result.hasWarnings());
}

TEST(DateFieldAnalyzer, backwardRuleFindsTheMissingYearWithoutAFalseConflict)
{
    ModelBuilder b;
    b.area("WS");
    const auto cur = b.display("CUR-YY", 2);
    const auto birth = b.display("BIRTH-YY", 2);
    const auto age = b.display("AGE", 2);
    const auto start = b.display("START-YY", 2);
    const auto years = b.display("YEARS", 2);
    const auto end = b.display("END-YY", 2);
    b.acceptDate(cur);
    b.compute(age, {{cur, 1}, {birth, -1}}); // AGE is a subscript: BIRTH-YY must be a year
    b.nonYear(age);
    b.nonYear(years);
    b.acceptDate(end);
    b.compute(end, {{start, 1}, {years, 1}}); // END-YY = START-YY + YEARS: START-YY is a year
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, birth), "1-2 USED-AS-YEAR");
    EXPECT_EQ(kinds(result, age), "1-2 USED-AS-NON-YEAR");
    EXPECT_EQ(kinds(result, start), "1-2 USED-AS-YEAR");
    EXPECT_TRUE(result.conflicts.empty());
}

TEST(DateFieldAnalyzer, sumOfTwoYearsIsSuspicious)
{
    ModelBuilder b;
    b.area("WS");
    const auto a = b.display("A-YY", 2);
    const auto c = b.display("C-YY", 2);
    const auto sum = b.display("SUM", 4);
    b.acceptDate(a);
    b.acceptDate(c);
    b.compute(sum, {{a, 1}, {c, 1}});
    const AnalysisResult result = analyze(b.model);
    EXPECT_TRUE(hasWarning(result, "add up to 2 years"));
    EXPECT_EQ(kinds(result, sum), "");
}

TEST(DateFieldAnalyzer, conflictIsExplainedByTheChainOfStatements)
{
    ModelBuilder b;
    b.area("WS");
    const auto yy = b.display("WS-YY", 2);
    const auto tmp = b.display("WS-TMP", 2);
    const auto idx = b.display("WS-IDX", 2);
    b.acceptDate(yy); // line 100
    b.move(yy, tmp);  // line 101
    b.move(tmp, idx); // line 102
    b.nonYear(idx);   // line 103
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, yy), "1-2 USED-AS-YEAR-AND-NON-YEAR");
    ASSERT_EQ(result.conflicts.size(), 1u);
    const Conflict &conflict = result.conflicts.front();
    EXPECT_EQ(conflict.item, yy);
    std::vector<std::uint32_t> lines;
    for (const ExplanationStep &step : conflict.chain)
        lines.push_back(step.pos.line);
    EXPECT_EQ(lines, (std::vector<std::uint32_t>{100, 101, 102, 103}));
    EXPECT_TRUE(result.hasWarnings());
}

TEST(DateFieldAnalyzer, seedsMapCanonicalBytesOntoTheInclude)
{
    ModelBuilder b;
    b.area("FD-REC");
    b.skip(10); // the copybook sits at offset 10 of the record
    b.include("DATEREC", "CUST");
    const auto id = b.alnum("REC-ID", 4);
    const auto recYy = b.display("REC-YY", 2);
    b.endInclude();
    b.area("WS");
    const auto ws = b.display("WS-Y", 2);
    const auto idx = b.display("WS-I", 4);
    b.move(recYy, ws);
    b.move(id, idx);
    b.nonYear(idx);

    struct Case
    {
        const char *label;
        const char *seed;
        const char *recYy;
        const char *ws;
        const char *runs;
    };
    for (const Case &c : std::vector<Case>{
             {"always seed",
              "  <always-year> <index> 5 <length> 2\n",
              "1-2 ALWAYS-YEAR",
              "1-2 USED-AS-YEAR",
              "DATEREC/CUST: 1+4 USED-AS-NON-YEAR 5+2 ALWAYS-YEAR\n"},
             {"used seed from another program",
              "  <used-as-year> <index> 5 <length> 2\n",
              "1-2 USED-AS-YEAR",
              "1-2 USED-AS-YEAR",
              "DATEREC/CUST: 1+4 USED-AS-NON-YEAR 5+2 USED-AS-YEAR\n"},
             {"non-year seed",
              "  <always-non-year> <index> 5 <length> 2\n",
              "1-2 ALWAYS-NON-YEAR",
              "1-2 USED-AS-NON-YEAR",
              "DATEREC/CUST: 1+4 USED-AS-NON-YEAR 5+2 ALWAYS-NON-YEAR\n"},
         }) {
        const std::string seed = std::string("<SEED> <INCLUDE> DATEREC CUST\n") + c.seed
                                 + "</SEED>\n\n";
        const AnalysisResult result = analyze(b.model, seed);
        EXPECT_EQ(kinds(result, recYy), c.recYy) << c.label;
        EXPECT_EQ(kinds(result, ws), c.ws) << c.label;
        EXPECT_EQ(runs(result), c.runs) << c.label;
    }
    const AnalysisResult other = analyze(b.model,
                                         "<SEED> <INCLUDE> DATEREC OTHERQ\n"
                                         "  <always-year> <index> 5 <length> 2\n</SEED>\n");
    EXPECT_EQ(kinds(other, recYy), "") << "a seed for another qualifier does not apply";
}

TEST(DateFieldAnalyzer, alwaysSeedMeetingNonYearUsageIsAnAlwaysConflict)
{
    ModelBuilder b;
    b.area("WS");
    b.include("DATEREC", "Q");
    const auto yy = b.display("REC-YY", 2);
    b.endInclude();
    const auto idx = b.display("WS-I", 2);
    b.move(yy, idx);
    b.nonYear(idx);
    const AnalysisResult result = analyze(b.model,
                                          "<SEED> <INCLUDE> DATEREC Q\n"
                                          "  <always-year> <index> 1 <length> 2\n</SEED>\n");
    EXPECT_EQ(kinds(result, yy), "1-2 ALWAYS-CONFLICT");
    EXPECT_EQ(kinds(result, idx), "1-2 USED-AS-YEAR-AND-NON-YEAR");
    EXPECT_EQ(runs(result), "DATEREC/Q: 1+2 ALWAYS-CONFLICT\n");
    ASSERT_EQ(result.conflicts.size(), 1u);
    EXPECT_EQ(result.conflicts.front().chain.front().text,
              "year: seed <always-year> DATEREC bytes 1-2");
}

TEST(DateFieldAnalyzer, seedRunPastTheCopybookIsWarnedAbout)
{
    ModelBuilder b;
    b.area("WS");
    b.include("SMALL", "Q");
    const auto yy = b.display("S-YY", 2);
    b.endInclude();
    const AnalysisResult result = analyze(b.model,
                                          "<SEED> <INCLUDE> SMALL Q\n"
                                          "  <always-year> <index> 1 <length> 4\n</SEED>\n");
    EXPECT_EQ(kinds(result, yy), "1-2 ALWAYS-YEAR");
    EXPECT_TRUE(hasWarning(result, "reaches past the copybook's 2 bytes"));
}

TEST(DateFieldAnalyzer, declarationEvidenceIsNarrowAndCanBeSwitchedOff)
{
    ModelBuilder b;
    b.area("WS");
    const auto yy = b.display("WS-BIRTH-YY", 2);
    const auto ccyy = b.display("CCYY", 4);
    const auto layout = b.display("WS-DATE-YYMMDD", 6);
    const auto text = b.alnum("HIRE-CCYYMMDD", 8);
    const auto count = b.display("YEAR-COUNT", 3);
    const auto yearly = b.display("YEARLY-TOTAL", 2);
    const auto wrongLength = b.display("WS-YYMMDD", 8);
    const AnalysisResult on = analyze(b.model, {}, DateFieldAnalyzer::Declarations::On);
    EXPECT_EQ(kinds(on, yy), "1-2 ALWAYS-YEAR");
    EXPECT_EQ(kinds(on, ccyy), "1-4 ALWAYS-YEAR");
    EXPECT_EQ(kinds(on, layout), "1-2 ALWAYS-YEAR");
    EXPECT_EQ(kinds(on, text), "1-4 ALWAYS-YEAR");
    EXPECT_EQ(kinds(on, count), "") << "three digits are no year";
    EXPECT_EQ(kinds(on, yearly), "") << "YEARLY is not the token YEAR";
    EXPECT_EQ(kinds(on, wrongLength), "") << "the layout must fit the picture";
    const AnalysisResult off = analyze(b.model, {}, DateFieldAnalyzer::Declarations::Off);
    EXPECT_TRUE(off.fields.empty());
}

TEST(DateFieldAnalyzer, oneOccurrenceStandsForAll)
{
    ModelBuilder b;
    b.area("WS");
    b.group("TBL", 20);
    const auto tblYy = b.display("TBL-YY", 2);
    b.skip(18);
    b.model.areas.back().occurs.push_back({0, 2, 10}); // TBL-YY OCCURS 10
    b.area("OUT");
    const auto out = b.alnum("OUT-TBL", 20);
    b.acceptDate(tblYy); // TBL-YY(I): one occurrence stands for all
    b.move(0, out);
    const AnalysisResult result = analyze(b.model);
    EXPECT_EQ(kinds(result, out), "1-20 USED-AS-YEAR");
}

TEST(DateFieldAnalyzer, windowingSitesAreListed)
{
    ModelBuilder b;
    b.area("WS");
    const auto a = b.display("A-YY", 2);
    const auto c = b.display("C-YY", 2);
    const auto full = b.display("FULL-YYYY", 4);
    const auto n = b.display("N", 2);
    b.acceptDate(a);
    b.acceptDate(c);
    b.compare(a, c); // statement 2
    b.move(a, full); // statement 3
    b.compare(n, n); // statement 4: no years
    const AnalysisResult result = analyze(b.model);
    ASSERT_EQ(result.windows.size(), 2u);
    EXPECT_EQ(result.windows[0].statement, 2u);
    EXPECT_EQ(result.windows[0].yearItems, (std::vector<std::uint32_t>{a, c}));
    EXPECT_EQ(result.windows[1].statement, 3u);
    EXPECT_NE(result.windows[1].reason.find("wider FULL-YYYY"), std::string::npos);
}

TEST(DateFieldAnalyzer, literalsMovedIntoYearsAreNoted)
{
    ModelBuilder b;
    b.area("WS");
    const auto yy = b.display("A-YY", 2);
    b.acceptDate(yy);
    b.moveOps(Operand{}, b.op(yy)); // MOVE 99 TO A-YY
    const AnalysisResult result = analyze(b.model);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages.front().severity, Severity::Note);
    EXPECT_NE(result.messages.front().text.find("a literal is moved into the year A-YY"),
              std::string::npos);
    EXPECT_FALSE(result.hasWarnings());
}

TEST(DateFieldAnalyzer, invalidModelsAreRejectedBeforeAnalysis)
{
    struct Case
    {
        const char *label;
        void (*spoil)(ProgramModel &);
        const char *part;
    };
    for (const Case &c : std::vector<Case>{
             {"item past its area",
              [](ProgramModel &m) { m.items[0].offset = 100; },
              "lies outside its storage area"},
             {"unknown area", [](ProgramModel &m) { m.items[0].area = 7; }, "storage area 7"},
             {"operand index",
              [](ProgramModel &m) { m.statements[0].operands[0].item = 99; },
              "data item 99"},
             {"file index", [](ProgramModel &m) { m.statements[0].pos.file = 5; }, "file number 5"},
             {"huge storage", [](ProgramModel &m) { m.areas[0].size = 0xFFFFFFF0u; }, "at most"},
         }) {
        ModelBuilder b;
        b.area("WS");
        const auto x = b.display("X", 2);
        b.acceptDate(x);
        c.spoil(b.model);
        EXPECT_NE(DateFieldAnalyzer::validate(b.model).find(c.part), std::string::npos) << c.label;
    }
}

namespace {

/// A random program of moves, compares, date accepts and non-year uses over a few records, one
/// of them from a copybook.
ProgramModel randomProgram(std::mt19937 &random)
{
    ModelBuilder b;
    b.area("REC");
    b.include("CPY", "Q");
    for (int i = 0; i < 4; ++i)
        b.display("C" + std::to_string(i), 2 + 2 * (random() % 2));
    b.endInclude();
    b.area("WS");
    for (int i = 0; i < 6; ++i) {
        if (random() % 3 == 0)
            b.alnum("W" + std::to_string(i), 2 + random() % 4);
        else
            b.display("W" + std::to_string(i), 2 + random() % 4);
    }
    const auto items = static_cast<std::uint32_t>(b.model.items.size());
    for (int s = 0; s < 8; ++s) {
        const std::uint32_t x = random() % items;
        const std::uint32_t y = random() % items;
        switch (random() % 4) {
        case 0:
            b.move(x, y);
            break;
        case 1:
            b.compare(x, y);
            break;
        case 2:
            b.acceptDate(x);
            break;
        default:
            b.nonYear(x);
            break;
        }
    }
    return b.model;
}

std::vector<std::pair<std::uint8_t, bool>> byteKinds(const AnalysisResult &result,
                                                     const ProgramModel &model)
{
    std::vector<std::pair<std::uint8_t, bool>> out;
    for (std::uint32_t i = 0; i < model.items.size(); ++i) {
        std::vector<std::pair<std::uint8_t, bool>> bytes(model.items[i].length, {0, false});
        for (const FieldFinding &field : result.fields)
            if (field.item == i)
                for (std::uint32_t k = 0; k < field.length; ++k)
                    bytes[field.first - 1 + k] = {kindPolarity(field.kind),
                                                  kindStrength(field.kind) == Strength::Always};
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::string seedsFrom(const AnalysisResult &result)
{
    std::string text;
    for (const IncludeResult &include : result.includes) {
        text += "<SEED> <INCLUDE> " + include.copybook + " " + include.qualifier + "\n";
        for (const KindRun &run : include.runs)
            text += "  " + std::string(kindTag(run.kind)) + " <index> " + std::to_string(run.index)
                    + " <length> " + std::to_string(run.length) + "\n";
        text += "</SEED>\n\n";
    }
    return text;
}

} // namespace

TEST(DateFieldAnalyzer, moreSeedsNeverLowerAKindAndOwnOutputChangesNothing)
{
    std::mt19937 random(20261207);
    const char *tags[] = {"<always-year>",
                          "<used-as-non-year>",
                          "<used-as-year>",
                          "<always-non-year>"};
    for (int round = 0; round < 200; ++round) {
        const ProgramModel model = randomProgram(random);
        const std::string seed = std::string("<SEED> <INCLUDE> CPY Q\n  ") + tags[random() % 4]
                                 + " <index> " + std::to_string(1 + random() % 8)
                                 + " <length> 2\n</SEED>\n";
        const AnalysisResult plain = analyze(model);
        const AnalysisResult seeded = analyze(model, seed);
        const auto before = byteKinds(plain, model);
        const auto after = byteKinds(seeded, model);
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].first & ~after[i].first, 0) << "round " << round << " byte " << i;
            EXPECT_TRUE(!before[i].second || after[i].second) << "round " << round << " byte " << i;
        }
        const AnalysisResult again = analyze(model, seed + seedsFrom(seeded));
        EXPECT_EQ(byteKinds(again, model), after) << "round " << round;
        EXPECT_EQ(runs(again), runs(seeded)) << "round " << round;
    }
}
