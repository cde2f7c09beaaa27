#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "FrontEnd.h"
#include "SeedFile.h"

#include <gtest/gtest.h>

#include <random>

using namespace kelmkpu;

namespace {

/// Runs the real front end on a small program with `statements` in its procedure division and
/// analyses it without declaration evidence; gives "item=first-last KIND" for every field found,
/// "WARNING" when there were warnings, and the notes.
std::string programText(const std::string &statements)
{
    return "       IDENTIFICATION DIVISION.\n"
           "       PROGRAM-ID. T.\n"
           "       DATA DIVISION.\n"
           "       WORKING-STORAGE SECTION.\n"
           "       01  A-Y             PIC 99.\n"
           "       01  B-Y             PIC 99.\n"
           "       01  C-N             PIC 99.\n"
           "       01  D-N             PIC 99.\n"
           "       01  TODAY           PIC 9(6).\n"
           "       01  TODAY8          PIC 9(8).\n"
           "       01  TBL.\n"
           "           05  ENT         PIC 99 OCCURS 10.\n"
           "       01  CD              PIC X(21).\n"
           "       01  G1.\n"
           "           05  P-Y         PIC 99.\n"
           "           05  P-N         PIC 99.\n"
           "       01  G2.\n"
           "           05  P-N         PIC 99.\n"
           "           05  P-Y         PIC 99.\n"
           "       PROCEDURE DIVISION.\n"
           + statements + "           STOP RUN.\n";
}

std::string analyzeCobol(const std::string &statements)
{
    const std::string source = programText(statements);
    cobol::FrontEnd frontEnd({});
    const cobol::FrontEnd::Result parsed = frontEnd.parseText("T.cbl", source);
    const ProgramModel model = AnalysisDataAdapter::toModel(parsed.data);
    EXPECT_EQ(DateFieldAnalyzer::validate(model), "");
    DateFieldAnalyzer analyzer(model);
    const AnalysisResult result = analyzer.run(SeedFile(), DateFieldAnalyzer::Declarations::Off);
    std::string text;
    for (const FieldFinding &field : result.fields) {
        const DataItem &item = model.items[field.item];
        text += (text.empty() ? "" : " ") + item.name
                + (item.offset ? "@" + std::to_string(item.offset) : "") + "="
                + std::to_string(field.first) + "-" + std::to_string(field.first + field.length - 1)
                + " " + std::string(kindName(field.kind));
    }
    if (result.hasWarnings())
        text += " WARNING";
    for (const Message &message : result.messages)
        if (message.severity == Severity::Note)
            text += " NOTE: " + message.text;
    return text;
}

const char *const accept = "           ACCEPT TODAY FROM DATE.\n"
                           "           MOVE TODAY(1:2) TO A-Y.\n";

} // namespace

TEST(AnalysisDataAdapter, statementsOfRealCobolBecomeTheRightFacts)
{
    struct Case
    {
        const char *label;
        std::string statements;
        std::string expected;
    };
    for (const Case &c : std::vector<Case>{
             {"ADD TO adds to the receiver",
              std::string(accept) + "           ADD C-N TO A-Y.\n",
              "A-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR"},
             {"ADD GIVING does not add the receiver",
              std::string(accept)
                  + "           MOVE A-Y TO B-Y.\n           ADD C-N TO A-Y GIVING B-Y.\n",
              "A-Y=1-2 USED-AS-YEAR B-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR"},
             {"difference of years",
              std::string(accept)
                  + "           MOVE A-Y TO B-Y.\n"
                    "           COMPUTE C-N = A-Y - B-Y.\n",
              "A-Y=1-2 USED-AS-YEAR B-Y=1-2 USED-AS-YEAR C-N=1-2 USED-AS-NON-YEAR TODAY=1-2 "
              "USED-AS-YEAR"},
             {"subscript", "           MOVE 1 TO ENT(C-N).\n", "C-N=1-2 USED-AS-NON-YEAR"},
             {"PERFORM VARYING counter",
              "           PERFORM VARYING D-N FROM 1 BY 1 UNTIL D-N > 10\n"
              "               CONTINUE\n           END-PERFORM.\n",
              "D-N=1-2 USED-AS-NON-YEAR"},
             {"CURRENT-DATE",
              "           MOVE FUNCTION CURRENT-DATE TO CD.\n",
              "CD=1-4 USED-AS-YEAR"},
             {"ACCEPT YYYYMMDD",
              "           ACCEPT TODAY8 FROM DATE YYYYMMDD.\n",
              "TODAY8=1-4 USED-AS-YEAR"},
             {"comparison joins",
              "           ACCEPT TODAY FROM DATE.\n"
              "           IF TODAY(1:2) > B-Y DISPLAY 'X' END-IF.\n",
              "B-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR"},
             {"MOVE CORRESPONDING pairs by name",
              std::string(accept)
                  + "           MOVE A-Y TO P-Y OF G1.\n"
                    "           MOVE CORRESPONDING G1 TO G2.\n",
              "A-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR P-Y=1-2 USED-AS-YEAR P-Y@2=1-2 "
              "USED-AS-YEAR"},
             {"INITIALIZE gives neither evidence nor a note",
              std::string(accept) + "           INITIALIZE A-Y.\n",
              "A-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR"},
             {"STRING with a year is noted",
              std::string(accept) + "           STRING '19' A-Y DELIMITED BY SIZE INTO CD.\n",
              "A-Y=1-2 USED-AS-YEAR TODAY=1-2 USED-AS-YEAR NOTE: the year A-Y is taken apart or "
              "built as text; not "
              "converted: STRING '19' A-Y CD"},
             {"year into a subscript is a conflict",
              std::string(accept) + "           MOVE 1 TO ENT(A-Y).\n",
              "A-Y=1-2 USED-AS-YEAR-AND-NON-YEAR TODAY=1-2 USED-AS-YEAR-AND-NON-YEAR WARNING"},
         }) {
        EXPECT_EQ(analyzeCobol(c.statements), c.expected) << c.label;
    }
}

TEST(AnalysisDataAdapter, inconsistentAnalysisDataIsRejectedOrAnalysedButNeverCrashes)
{
    cobol::FrontEnd frontEnd({});
    const cobol::AnalysisData original
        = frontEnd
              .parseText("T.cbl",
                         programText(std::string(accept)
                                     + "           MOVE 1 TO ENT(C-N).\n"
                                       "           ADD C-N TO A-Y GIVING B-Y.\n"
                                       "           MOVE CORRESPONDING G1 TO G2.\n"
                                       "           IF TODAY(1:2) > B-Y DISPLAY 'X' END-IF.\n"))
              .data;
    std::mt19937 random(42);
    auto any = [&](std::uint64_t limit) { return static_cast<std::uint32_t>(random() % limit); };
    for (int round = 0; round < 150; ++round) {
        cobol::AnalysisData data = original;
        for (int change = 0; change < 4; ++change) {
            cobol::DataItem &item = data.items[any(data.items.size())];
            switch (any(9)) {
            case 0:
                item.offset = any(100000);
                break;
            case 1:
                item.length = any(3) == 0 ? 0xFFFFFFFFFFull : any(70);
                break;
            case 2:
                item.occursMax = any(5000);
                item.stride = any(50);
                break;
            case 3:
                item.storage = any(data.items.size() + 3);
                break;
            case 4:
                item.declaredIn = any(4);
                item.hasCanonical = true;
                item.canonicalOffset = any(1u << 31);
                break;
            case 5:
                item.digits = static_cast<int>(any(60)) - 10;
                item.scale = static_cast<int>(any(40)) - 20;
                break;
            case 6:
                item.dependingOn = any(data.items.size() + 3);
                break;
            case 7:
                item.parent = any(data.items.size() + 3);
                break;
            default: {
                cobol::Statement &s = data.statements[any(data.statements.size())];
                if (!s.operands.empty()) {
                    cobol::Operand &op = s.operands[any(s.operands.size())];
                    op.item = any(data.items.size() + 3);
                    op.refMod = cobol::RefMod::Constant;
                    op.refOffset = any(100);
                    op.refLength = any(3) == 0 ? 0xFFFFFFFFu : any(10);
                    op.place.include = any(5);
                    op.subscripts.push_back({any(data.items.size() + 3), "1"});
                }
            }
            }
        }
        const ProgramModel model = AnalysisDataAdapter::toModel(data);
        if (!DateFieldAnalyzer::validate(model).empty())
            continue;
        DateFieldAnalyzer analyzer(model);
        const AnalysisResult result = analyzer.run(SeedFile(), DateFieldAnalyzer::Declarations::On);
        for (const FieldFinding &field : result.fields)
            EXPECT_LE(field.first + field.length - 1, model.items[field.item].length)
                << "round " << round;
    }
}
