#pragma once

#include "FlowGraph.h"

#include <cstdint>
#include <string>
#include <vector>

class DbNode;
class DbPu;
class DbToken;

/// Builds the control-flow graph of one loaded program unit from its syntax nodes and tokens:
/// one node per section header and paragraph (and one for statements before the first of
/// them), arcs for PERFORM (with THRU ranges) and their returns, GO TO, GO TO DEPENDING ON,
/// ALTER and fall-through; entries, ends and reachability marked. README.md in this folder
/// states the rules.
class ProgramFlowBuilder final
{
public:
    /// The graph of `pu`, which must be loaded; an empty graph (titled) when the unit has no
    /// procedure division.
    static FlowGraph build(const DbPu &pu);

    /// The words of a statement that belong to it and not to statements nested in it (an IF's
    /// own condition, not the statements it runs), in source order, comments left out.
    static std::vector<const DbToken *> ownTokens(const DbPu &pu, const DbNode &statement);

    /// `text` in upper case (ASCII).
    static std::string upper(std::string text);
};
