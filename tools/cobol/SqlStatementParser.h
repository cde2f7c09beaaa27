#pragma once

#include "AnalysisData.h"
#include "SqlColumnResolver.h"
#include "SqlSchema.h"
#include "SqlText.h"

#include <cstddef>
#include <string>
#include <vector>

namespace cobol {

class ExecArgumentReader;

/// Reads one EXEC SQL statement: its kind into the statement's detail ("SQL SELECT",
/// "SQL DECLARE TABLE") and every host variable (`:NAME`, `:STRUCT.FIELD`, with its indicator
/// variable) as an operand with its role and clause, and, where the statement says, the column
/// it goes with: the select-list entry an INTO target receives (through FETCH, the cursor's
/// list), the column an INSERT value or UPDATE assignment stores into, the column a predicate
/// compares it with. Column types come from DECLARE TABLE; CURRENT DATE / TIMESTAMP / TIME and
/// DATE(), TIMESTAMP(), YEAR() and CHAR(date, format) give theirs. A host structure in a list
/// stands for its subordinate items. DECLARE TABLE lists its columns as COLUMN operands, each
/// with the item of the DCLGEN host structure declared after it that holds the column.
class SqlStatementParser final
{
public:
    /// `itemsBefore`: data items declared before the block (for DECLARE TABLE in the data
    /// division: the host structure is the first level-01 group declared after the block).
    SqlStatementParser(const ExecArgumentReader &reader,
                       SqlSchema &schema,
                       std::uint32_t itemsBefore)
        : m_reader(reader)
        , m_schema(schema)
        , m_itemsBefore(itemsBefore)
        , m_text(reader)
        , m_columns(reader, schema)
    {}

    void parse(Statement &statement);

private:
    using Range = SqlText::Range;
    using Target = SqlColumnResolver::Target;

    // Host variables.
    std::size_t hostVariable(std::size_t index,
                             OperandRole role,
                             const std::string &option,
                             const std::vector<Target> &columns,
                             std::size_t &nextColumn,
                             bool expandStructure);
    Operand hostOperand(std::size_t nameIndex, std::size_t &next, bool &qualified) const;
    std::vector<std::uint32_t> structureMembers(std::uint32_t item) const;
    void assignList(Range list,
                    OperandRole role,
                    const std::string &option,
                    const std::vector<Target> &columns);

    // Statements.
    void declare(Statement &statement);
    void declareTable(Statement &statement, const std::string &table, std::size_t open);
    void query(Range range, bool withInto);
    void insert(Range range);
    void update(Range range);
    void fetch(Range range);
    void setAssignment(Range range);
    void valuesInto(Range range);
    void remaining(Statement &statement, OperandRole defaultRole);

    const ExecArgumentReader &m_reader;
    SqlSchema &m_schema;
    std::uint32_t m_itemsBefore = 0;
    SqlText m_text;
    SqlColumnResolver m_columns;
    std::vector<Operand> m_operands;
    std::vector<bool> m_consumed; ///< per token of the block: a host variable already read
};

} // namespace cobol
