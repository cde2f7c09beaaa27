#include "ProgramFlowBuilder.h"

#include "DbEu.h"
#include "DbPu.h"
#include "RecordedUnits.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

/// A program with one data item X and the given procedure division lines (Area A at column 8,
/// Area B at column 12 when a line starts with four blanks).
std::string program(const std::vector<std::string> &procedure)
{
    std::string text = "       IDENTIFICATION DIVISION.\n"
                       "       PROGRAM-ID. FLOWT.\n"
                       "       DATA DIVISION.\n"
                       "       WORKING-STORAGE SECTION.\n"
                       "       01  X PIC 9 VALUE 1.\n"
                       "       PROCEDURE DIVISION.\n";
    for (const std::string &line : procedure)
        text += "       " + line + "\n";
    return text;
}

std::string arcText(const FlowGraph &graph, const FlowGraph::Arc &arc)
{
    const char *kind = "";
    switch (arc.kind) {
    case FlowGraph::ArcKind::perform:
        kind = "perform";
        break;
    case FlowGraph::ArcKind::performReturn:
        kind = "return";
        break;
    case FlowGraph::ArcKind::goTo:
        kind = "goto";
        break;
    case FlowGraph::ArcKind::goToDepending:
        kind = "depending";
        break;
    case FlowGraph::ArcKind::alteredGoTo:
        kind = "altered";
        break;
    case FlowGraph::ArcKind::alter:
        kind = "alter";
        break;
    case FlowGraph::ArcKind::fallThrough:
        kind = "fall";
        break;
    case FlowGraph::ArcKind::staticCall:
    case FlowGraph::ArcKind::dynamicCall:
    case FlowGraph::ArcKind::copies:
        kind = "other";
        break;
    }
    return graph.nodes[arc.from].name + ">" + graph.nodes[arc.to].name + ":" + kind;
}

struct FlowCase
{
    const char *label;
    std::vector<std::string> procedure;
    std::set<std::string> arcs;
    std::set<std::string> unreachable;
    std::set<std::string> ends; ///< "NODE:kind"
};

std::string endText(FlowGraph::EndKind end)
{
    switch (end) {
    case FlowGraph::EndKind::none:
        return "";
    case FlowGraph::EndKind::stopRun:
        return "stop";
    case FlowGraph::EndKind::goBack:
        return "goback";
    case FlowGraph::EndKind::exitProgram:
        return "exit";
    case FlowGraph::EndKind::fallsOffEnd:
        return "off";
    }
    return "";
}

const std::vector<FlowCase> &cases()
{
    static const std::vector<FlowCase> all = {
        {"a performed paragraph returns at its end and does not fall through",
         {"MAIN.",
          "    PERFORM A.",
          "    PERFORM B.",
          "    STOP RUN.",
          "A.",
          "    DISPLAY 'A'.",
          "B.",
          "    DISPLAY 'B'."},
         {"MAIN>A:perform", "MAIN>B:perform", "A>MAIN:return", "B>MAIN:return"},
         {},
         {"MAIN:stop"}},
        {"THRU range: conditional GO TO to the exit, fall-through inside, dead code after",
         {"MAIN.",
          "    PERFORM A THRU A-EXIT.",
          "    GOBACK.",
          "A.",
          "    IF X = 1 GO TO A-EXIT END-IF.",
          "    DISPLAY 'A'.",
          "A2.",
          "    DISPLAY 'A2'.",
          "A-EXIT.",
          "    EXIT.",
          "DEAD.",
          "    DISPLAY 'D'."},
         {"MAIN>A:perform", "A-EXIT>MAIN:return", "A>A-EXIT:goto", "A>A2:fall", "A2>A-EXIT:fall"},
         {"DEAD"},
         {"MAIN:goback", "DEAD:off"}},
        {"GO TO DEPENDING ON goes on to the next statement when out of range",
         {"MAIN.",
          "    GO TO P1 P2 DEPENDING ON X.",
          "    DISPLAY 'NONE'.",
          "P1.",
          "    DISPLAY 1.",
          "    STOP RUN.",
          "P2.",
          "    DISPLAY 2.",
          "    STOP RUN."},
         {"MAIN>P1:depending", "MAIN>P2:depending", "MAIN>P1:fall"},
         {},
         {"P1:stop", "P2:stop"}},
        {"ALTER changes the target of a paragraph's GO TO",
         {"MAIN.",
          "    ALTER SW TO PROCEED TO B.",
          "    PERFORM SW THRU B.",
          "    STOP RUN.",
          "SW.",
          "    GO TO A.",
          "A.",
          "    DISPLAY 'A'.",
          "B.",
          "    DISPLAY 'B'."},
         {"MAIN>SW:alter",
          "MAIN>SW:perform",
          "B>MAIN:return",
          "SW>A:goto",
          "SW>B:altered",
          "A>B:fall"},
         {},
         {"MAIN:stop"}},
        {"PERFORM of a section runs to its last paragraph; an unperformed section is dead",
         {"MAIN SECTION.",
          "M1.",
          "    PERFORM S2.",
          "    STOP RUN.",
          "S2 SECTION.",
          "S2A.",
          "    DISPLAY 'A'.",
          "S2B.",
          "    DISPLAY 'B'.",
          "S3 SECTION.",
          "S3A.",
          "    DISPLAY 'DEAD'."},
         {"MAIN>M1:fall",
          "M1>S2:perform",
          "S2>S2A:fall",
          "S2A>S2B:fall",
          "S2B>M1:return",
          "S3>S3A:fall"},
         {"S3", "S3A"},
         {"M1:stop", "S3A:off"}},
        {"recursive PERFORM chain and a GO TO out of the performed range",
         {"A.",
          "    PERFORM B.",
          "    STOP RUN.",
          "B.",
          "    PERFORM C.",
          "C.",
          "    PERFORM B.",
          "    GO TO E.",
          "D.",
          "    DISPLAY 'D'.",
          "E.",
          "    DISPLAY 'E'."},
         {"A>B:perform",
          "B>A:return",
          "B>C:perform",
          "C>B:return",
          "C>B:perform",
          "B>C:return",
          "C>E:goto",
          "D>E:fall"},
         {"D"},
         {"A:stop", "E:off"}},
        {"statements before the first paragraph; EXIT PROGRAM under a condition",
         {"    DISPLAY 'START'.",
          "    PERFORM P.",
          "    GOBACK.",
          "P.",
          "    IF X = 2 EXIT PROGRAM END-IF.",
          "    DISPLAY 'P'."},
         {"PROCEDURE DIVISION>P:perform", "P>PROCEDURE DIVISION:return"},
         {},
         {"PROCEDURE DIVISION:goback", "P:exit"}},
        {"a section header without statements is live when one of its paragraphs is",
         {"MAIN SECTION.",
          "M1.",
          "    PERFORM S2A.",
          "    STOP RUN.",
          "S2 SECTION.",
          "S2A.",
          "    DISPLAY 'A'."},
         {"MAIN>M1:fall", "M1>S2A:perform", "S2A>M1:return", "S2>S2A:fall"},
         {},
         {"M1:stop"}},
        {"main line falls off the end of the procedure division",
         {"FIRST-PARA.", "    DISPLAY 'ONE'.", "SECOND-PARA.", "    DISPLAY 'TWO'."},
         {"FIRST-PARA>SECOND-PARA:fall"},
         {},
         {"SECOND-PARA:off"}},
    };
    return all;
}

TEST(ProgramFlowBuilder, eachArcRuleOnAHandWorkedProgram)
{
    for (const FlowCase &c : cases()) {
        SCOPED_TRACE(c.label);
        RecordedUnits units;
        units.recordText("FLOWT.cbl", program(c.procedure));
        DbPu &pu = *units.open().numberToPu(1);
        ASSERT_TRUE(pu.load()) << pu.loadError();
        const FlowGraph graph = ProgramFlowBuilder::build(pu);

        std::set<std::string> arcs, unreachable, ends;
        for (const FlowGraph::Arc &arc : graph.arcs)
            arcs.insert(arcText(graph, arc));
        for (const FlowGraph::Node &node : graph.nodes) {
            if (!node.reachable)
                unreachable.insert(node.name);
            if (node.end != FlowGraph::EndKind::none)
                ends.insert(node.name + ":" + endText(node.end));
        }
        EXPECT_EQ(arcs, c.arcs);
        EXPECT_EQ(unreachable, c.unreachable);
        EXPECT_EQ(ends, c.ends);
        ASSERT_FALSE(graph.nodes.empty());
        EXPECT_TRUE(graph.nodes.front().entry);
        // The walk in execution order lists reachable nodes once each, the entry first.
        EXPECT_EQ(graph.executionOrder.front(), 0);
        const std::set<int> walked(graph.executionOrder.begin(), graph.executionOrder.end());
        EXPECT_EQ(walked.size(), graph.executionOrder.size());
        for (int node : walked)
            EXPECT_TRUE(graph.nodes[node].reachable) << graph.nodes[node].name;
    }
}

TEST(ProgramFlowBuilder, tokensMapBackToTheNodeThatHoldsThem)
{
    RecordedUnits units;
    units.recordText("FLOWT.cbl",
                     program({"MAIN SECTION.",
                              "M1.",
                              "    PERFORM S2.",
                              "    STOP RUN.",
                              "S2 SECTION.",
                              "S2A.",
                              "    DISPLAY 'A'."}));
    DbPu &pu = *units.open().numberToPu(1);
    ASSERT_TRUE(pu.load());
    const FlowGraph graph = ProgramFlowBuilder::build(pu);
    for (int i = 0; i < static_cast<int>(graph.nodes.size()); ++i) {
        const FlowGraph::Node &node = graph.nodes[i];
        SCOPED_TRACE(node.name);
        // A paragraph's own tokens give the paragraph; a section's first token its header.
        EXPECT_EQ(graph.nodeForToken(node.firstToken), i);
        EXPECT_EQ(graph.nodeForToken(node.lastToken),
                  node.kind == FlowGraph::NodeKind::section ? graph.nodeForToken(node.lastToken)
                                                            : i);
    }
    EXPECT_EQ(graph.nodeForToken(1), -1); // IDENTIFICATION: no procedure holds it
    EXPECT_EQ(graph.nodeForToken(pu.numberOfTokens() + 5), -1);
}

TEST(ProgramFlowBuilder, everySampleBuildsWithoutAnUnreachableEntry)
{
    for (const char *sample : {"PAYRUN.cbl", "CLMCHECK.cbl", "CUSTINQ.cbl", "LOANCALC.cbl"}) {
        SCOPED_TRACE(sample);
        RecordedUnits units;
        units.recordSample(sample);
        DbPu &pu = *units.open().numberToPu(1);
        ASSERT_TRUE(pu.load());
        const FlowGraph graph = ProgramFlowBuilder::build(pu);
        ASSERT_FALSE(graph.nodes.empty());
        bool anyEnd = false;
        for (const FlowGraph::Node &node : graph.nodes) {
            if (node.entry) {
                EXPECT_TRUE(node.reachable) << node.name;
            }
            anyEnd = anyEnd || node.end != FlowGraph::EndKind::none;
        }
        EXPECT_TRUE(anyEnd);
        for (const FlowGraph::Arc &arc : graph.arcs) {
            ASSERT_LT(arc.from, static_cast<int>(graph.nodes.size()));
            ASSERT_LT(arc.to, static_cast<int>(graph.nodes.size()));
        }
    }
}

} // namespace
