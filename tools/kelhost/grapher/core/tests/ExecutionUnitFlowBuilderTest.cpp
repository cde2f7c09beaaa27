#include "ExecutionUnitFlowBuilder.h"

#include "DbEu.h"
#include "RecordedUnits.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string program(const std::string &name,
                    const std::string &data,
                    const std::vector<std::string> &procedure)
{
    std::string text = "       IDENTIFICATION DIVISION.\n"
                       "       PROGRAM-ID. "
                       + name
                       + ".\n"
                         "       DATA DIVISION.\n"
                         "       WORKING-STORAGE SECTION.\n"
                       + data + "       PROCEDURE DIVISION.\n";
    for (const std::string &line : procedure)
        text += "           " + line + "\n";
    return text;
}

TEST(ExecutionUnitFlowBuilder, staticAndDynamicCallsWithLiteralNamesAndSharedCopybooks)
{
    RecordedUnits units;
    const std::vector<std::pair<std::string, std::string>> books = {
        {"SHARED.cpy", "       01  SHARED-REC PIC X(10).\n"}};
    units.recordText("MAINP.cbl",
                     program("MAINP",
                             "       COPY SHARED.\n"
                             "       01  WS-PGM PIC X(8) VALUE 'SUBB'.\n"
                             "       01  WS-OTHER PIC X(8).\n",
                             {"CALL 'SUBA'.",
                              "CALL WS-PGM.",
                              "MOVE 'SUBC' TO WS-PGM.",
                              "CALL 'EXTERNAL1'.",
                              "CALL WS-OTHER.",
                              "STOP RUN."}),
                     books);
    units.recordText("SUBA.cbl",
                     program("SUBA", "       COPY SHARED.\n", {"CALL 'SUBB'.", "GOBACK."}),
                     books);
    units.recordText("SUBB.cbl", program("SUBB", "", {"GOBACK."}));
    units.recordText("SUBC.cbl", program("SUBC", "", {"GOBACK."}));
    units.recordText("ORPHAN.cbl", program("ORPHAN", "", {"STOP RUN."}));
    DbEu &eu = units.open();

    const FlowGraph graph
        = ExecutionUnitFlowBuilder::build(eu, ExecutionUnitFlowBuilder::Copybooks::shown);
    std::set<std::string> arcs;
    for (const FlowGraph::Arc &arc : graph.arcs)
        arcs.insert(graph.nodes[arc.from].name + ">" + graph.nodes[arc.to].name + ":"
                    + FlowGraph::kindName(arc.kind));
    const std::set<std::string> expected = {
        "MAINP>SUBA:CALL",
        "MAINP>SUBB:CALL (dynamic)",
        "MAINP>SUBC:CALL (dynamic)",
        "MAINP>EXTERNAL1:CALL",
        "SUBA>SUBB:CALL",
        "MAINP>SHARED:COPY",
        "SUBA>SHARED:COPY",
    };
    EXPECT_EQ(arcs, expected);
    std::set<std::string> entries;
    for (const FlowGraph::Node &node : graph.nodes) {
        if (node.entry)
            entries.insert(node.name);
        EXPECT_TRUE(node.reachable) << node.name;
        if (node.name == "SHARED") {
            EXPECT_EQ(node.note, "copybook shared by 2 programs");
        }
        if (node.name == "EXTERNAL1") {
            EXPECT_EQ(node.kind, FlowGraph::NodeKind::externalProgram);
        }
        if (node.name == "MAINP") {
            EXPECT_NE(node.note.find("1 CALL of an identifier"), std::string::npos) << node.note;
        }
    }
    EXPECT_EQ(entries, (std::set<std::string>{"MAINP", "ORPHAN"}));
    EXPECT_EQ(graph.nodeForUnit(eu.puToNumber(eu.puNamed("SUBB"))), 2);

    const FlowGraph plain = ExecutionUnitFlowBuilder::build(eu);
    for (const FlowGraph::Node &node : plain.nodes)
        EXPECT_NE(node.kind, FlowGraph::NodeKind::copybook);
}

} // namespace
