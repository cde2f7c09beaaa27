#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A graph the grapher draws: the procedures of one program unit and the control transfers
/// between them, or the programs of an execution unit and their calls. Plain data, built by
/// ProgramFlowBuilder or ExecutionUnitFlowBuilder, laid out by LayeredLayout and written by
/// GraphExport. Nodes are in source order (program graph) or unit-table order (execution unit).
struct FlowGraph
{
    enum class NodeKind : std::uint8_t {
        procedureStart, ///< statements before the first section or paragraph
        section,        ///< a section's header: its statements before its first paragraph
        paragraph,
        collapsedSection, ///< a section shown as one node with all its paragraphs
        program,          ///< a program unit of the execution unit
        externalProgram,  ///< a program called but not in the execution unit
        copybook          ///< a copybook (the optional layer of the execution-unit graph)
    };

    /// How a node ends the run, when it does.
    enum class EndKind : std::uint8_t { none, stopRun, goBack, exitProgram, fallsOffEnd };

    enum class ArcKind : std::uint8_t {
        perform,       ///< PERFORM p (or p THRU q): to the first node of the range
        performReturn, ///< from the last node of a performed range back to the performer
        goTo,          ///< GO TO p
        goToDepending, ///< GO TO p1 p2 ... DEPENDING ON x: one arc per target
        alteredGoTo,   ///< the GO TO of p goes to q after ALTER p TO PROCEED TO q
        alter,         ///< from the node holding the ALTER statement to the altered node
        fallThrough,   ///< control runs off the end of a node into the next
        staticCall,    ///< CALL 'NAME'
        dynamicCall,   ///< CALL identifier whose names are known literals (VALUE, MOVE)
        copies         ///< a program includes a copybook
    };

    struct Node
    {
        NodeKind kind = NodeKind::paragraph;
        std::string name;
        /// Index of the section node the paragraph belongs to; -1 for none.
        int section = -1;
        /// The unit-relative token range the node covers (0 when unknown).
        std::uint32_t firstToken = 0;
        std::uint32_t lastToken = 0;
        /// The program-unit number (execution-unit graph) of a program node; 0 otherwise.
        std::uint32_t unitNumber = 0;
        bool entry = false;
        bool reachable = true;
        EndKind end = EndKind::none;
        /// A longer description for hover help and exports.
        std::string note;
    };

    struct Arc
    {
        int from = 0;
        int to = 0;
        ArcKind kind = ArcKind::perform;
        /// The statement's first token (0 for fall-through and return arcs).
        std::uint32_t token = 0;
        /// "THRU B-EXIT", "UNTIL ...": what the arc's statement adds.
        std::string label;
    };

    std::string title;
    std::vector<Node> nodes;
    std::vector<Arc> arcs;

    /// The node indices in the order the program runs them (reachable nodes only): the entry,
    /// then depth first along performs, jumps and fall-through in statement order.
    std::vector<int> executionOrder;

    /// The node holding token `tokenNumber` (program graph) or the program node of unit
    /// `unitNumber` (execution-unit graph); -1 when none.
    int nodeForToken(std::uint32_t tokenNumber) const;
    int nodeForUnit(std::uint32_t unitNumber) const;

    /// Whether an arc of `kind` only shows where a performed range returns (not a transfer the
    /// layout ranks by).
    static bool isReturn(ArcKind kind) { return kind == ArcKind::performReturn; }

    static const char *kindName(NodeKind kind);
    static const char *kindName(ArcKind kind);
    static const char *endName(EndKind kind);

    /// Marks every node reachable from an entry along the transfer arcs (not returns, alters or
    /// copies); fills executionOrder.
    void computeReachability();
};
