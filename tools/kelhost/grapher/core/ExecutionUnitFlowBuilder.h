#pragma once

#include "FlowGraph.h"

class DbEu;

/// Builds the graph of a whole execution unit: one node per program unit, an arc per program
/// called (CALL 'NAME', and CALL identifier for each literal the identifier is given by its
/// VALUE clause or a MOVE), a node for each program called that the execution unit does not
/// hold, and, as an optional layer, the copybooks the programs include.
class ExecutionUnitFlowBuilder final
{
public:
    enum class Copybooks { hidden, shown };

    /// Loads every unit of `eu` that is not loaded yet (a unit that cannot be loaded stays a
    /// node, noted with the reason) and builds its graph. Programs no other program calls are
    /// the entries.
    static FlowGraph build(DbEu &eu, Copybooks copybooks = Copybooks::hidden);

    /// The literal text without its quotes ('ABC' and "ABC" give ABC; X'..' stays as it is).
    static std::string unquote(const std::string &literal);
};
