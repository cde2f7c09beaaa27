#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "FrontEnd.h"
#include "SeedFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace kelmkpu;

namespace {

/// The engine's rule for a kind reported on bytes that already carry one (row: incoming,
/// column: stored).
constexpr int combine[6][6] = {{0, 0, 0, 0, 0, 0},
                               {1, 1, 0, 1, 1, 1},
                               {2, 0, 2, 2, 2, 2},
                               {0, 1, 2, 3, 5, 5},
                               {0, 1, 2, 5, 4, 5},
                               {0, 1, 2, 5, 5, 5}};

using Table = std::map<std::pair<std::string, std::string>, std::map<std::uint32_t, int>>;

std::string seedBlocks(const Table &table)
{
    std::string text;
    for (const auto &[key, bytes] : table) {
        text += "<SEED> <INCLUDE> " + key.first + " " + key.second + "\n";
        for (const auto &[byte, kind] : bytes)
            text += "  " + std::string(kindTag(static_cast<DateKind>(kind))) + " <index> "
                    + std::to_string(byte) + " <length> 1\n";
        text += "</SEED>\n\n";
    }
    return text;
}

std::string kindAt(const Table &table,
                   const std::string &copybook,
                   const std::string &qualifier,
                   std::uint32_t byte)
{
    const auto entry = table.find({copybook, qualifier});
    if (entry == table.end() || !entry->second.count(byte))
        return "none";
    return std::string(kindName(static_cast<DateKind>(entry->second.at(byte))));
}

} // namespace

TEST(SamplesConvergence, theSampleApplicationSettlesOnTheDocumentedKinds)
{
    const char *sourceDir = std::getenv("CHRONEX_SOURCE_DIR");
    const std::filesystem::path samples = std::filesystem::path(sourceDir ? sourceDir : "")
                                          / "samples";
    if (!sourceDir || !std::filesystem::exists(samples / "Seedfile" / "sample.xsd"))
        GTEST_SKIP() << "the sample application is not in the source tree";
    std::ifstream seedIn(samples / "Seedfile" / "sample.xsd");
    std::ostringstream userSeeds;
    userSeeds << seedIn.rdbuf();

    // The programs in the order the wizard lists them: CLMCHECK first, before anything is known.
    std::vector<ProgramModel> programs;
    cobol::FrontEnd::Options options;
    options.includeDirectories = {(samples / "copybooks").string()};
    cobol::FrontEnd frontEnd(options);
    for (const char *name :
         {"CLMCHECK", "EMPAGE", "EMPHIRE", "LOANCALC", "PAYRUN", "POLISSUE", "POLRENEW"}) {
        const cobol::FrontEnd::Result parsed = frontEnd.parseFile(
            (samples / (std::string(name) + ".cbl")).string());
        programs.push_back(AnalysisDataAdapter::toModel(parsed.data));
        ASSERT_EQ(DateFieldAnalyzer::validate(programs.back()), "") << name;
    }

    Table table;
    int passes = 0;
    for (bool changed = true; changed && passes < 10; ++passes) {
        changed = false;
        for (const ProgramModel &model : programs) {
            SeedFile seeds;
            std::istringstream in(userSeeds.str() + seedBlocks(table));
            seeds.parse(in, "sample.asd");
            DateFieldAnalyzer analyzer(model);
            const AnalysisResult result = analyzer.run(seeds, DateFieldAnalyzer::Declarations::On);
            for (const IncludeResult &include : result.includes) {
                auto &bytes = table[{include.copybook, include.qualifier}];
                for (const KindRun &run : include.runs) {
                    for (std::uint32_t b = run.index; b < run.index + run.length; ++b) {
                        const int incoming = static_cast<int>(run.kind);
                        const auto stored = bytes.find(b);
                        const int kind = stored == bytes.end() ? incoming
                                                               : combine[incoming][stored->second];
                        if (stored == bytes.end() || stored->second != kind) {
                            bytes[b] = kind;
                            changed = true;
                        }
                    }
                }
            }
        }
    }
    EXPECT_LE(passes, 4) << "the knowledge about shared copybooks settles";

    struct Expected
    {
        const char *field;
        const char *copybook;
        const char *qualifier;
        std::uint32_t byte;
        const char *kind;
    };
    for (const Expected &e : std::vector<Expected>{
             {"EMP-BIRTH-YY (seeded)", "EMPREC", "DEFAULT", 27, "ALWAYS-YEAR"},
             {"EMP-START (name of its redefinition)", "EMPREC", "DEFAULT", 33, "ALWAYS-YEAR"},
             {"EMP-GRADE (seeded)", "EMPREC", "DEFAULT", 43, "ALWAYS-NON-YEAR"},
             {"EMP-REVIEWED", "EMPREC", "DEFAULT", 50, "USED-AS-YEAR"},
             {"EMP-REVIEWED day part", "EMPREC", "DEFAULT", 52, "none"},
             {"EMP-DEPENDENTS", "EMPREC", "DEFAULT", 55, "none"},
             {"EMP-HIST-GRADE", "EMPREC", "DEFAULT", 57, "USED-AS-NON-YEAR"},
             {"EMP-HIST-FROM", "EMPREC", "DEFAULT", 59, "USED-AS-YEAR"},
             {"POL-START (POLISSUE)", "POLREC", "DEFAULT", 18, "USED-AS-YEAR"},
             {"POL-TERM (seeded)", "POLREC", "DEFAULT", 24, "ALWAYS-NON-YEAR"},
             {"POL-END (POLISSUE)", "POLREC", "DEFAULT", 26, "USED-AS-YEAR"},
             {"POL-PRIOR-END (POLRENEW, from POLISSUE)", "POLREC", "DEFAULT", 32, "USED-AS-YEAR"},
             {"POL-CLAIM-COUNT", "POLREC", "DEFAULT", 43, "USED-AS-NON-YEAR"},
             {"CLM-DATE (CLMCHECK, from POLRENEW, from POLISSUE)",
              "POLREC",
              "DEFAULT",
              48,
              "USED-AS-YEAR"},
             {"CLM-AMOUNT", "POLREC", "DEFAULT", 54, "none"},
             {"LN-OPENED", "LOANREC", "DEFAULT", 15, "ALWAYS-YEAR"},
             {"LN-TERM-MONTHS", "LOANREC", "DEFAULT", 31, "none"},
             {"LN-MATURITY-CCYY (seeded)", "LOANREC", "DEFAULT", 37, "ALWAYS-YEAR"},
             {"LN-PAYMENTS-MADE", "LOANREC", "DEFAULT", 38, "USED-AS-NON-YEAR"},
             {"LN-DUE", "LOANREC", "DEFAULT", 40, "USED-AS-YEAR"},
             {"WS-TODAY year", "DATEWS", "DEFAULT", 1, "ALWAYS-YEAR"},
             {"WS-JULIAN year", "DATEWS", "DEFAULT", 7, "ALWAYS-YEAR"},
             {"WS-CENTURY", "DATEWS", "DEFAULT", 16, "none"},
             {"TAX-YEAR (seeded)", "TAXTBL", "LIB=PAYLIB", 1, "ALWAYS-YEAR"},
             {"TAX-BRACKET-COUNT", "TAXTBL", "LIB=PAYLIB", 3, "USED-AS-NON-YEAR"},
         }) {
        EXPECT_EQ(kindAt(table, e.copybook, e.qualifier, e.byte), e.kind) << e.field;
    }
}
