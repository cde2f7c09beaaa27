#pragma once

#include "AnalysisData.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace cobol {

class ExecArgumentReader;

/// What the SQL statements of one program have declared so far: tables with their columns
/// (DECLARE TABLE, as a DCLGEN member writes it) and cursors with their select lists.
struct SqlSchema
{
    struct Column
    {
        std::string name; ///< upper case, as declared
        std::string type; ///< normalised: "DATE", "CHAR(10)", "DECIMAL(7,2)"
    };
    /// One entry of a select list: what it is ("EMP.HIRE_DATE", "CURRENT DATE") and its type.
    struct Expression
    {
        std::string text;
        std::string type;
    };
    std::map<std::string, std::vector<Column>> tables; ///< by unqualified table name
    std::map<std::string, std::vector<Expression>> cursors;
};

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
    {}

    void parse(Statement &statement);

private:
    struct Range
    {
        std::size_t first = 0;
        std::size_t last = 0; ///< one past
    };
    struct Target
    {
        std::string column;
        std::string type;
    };

    // Token helpers.
    bool hostVariableAt(std::size_t index) const;
    std::size_t skipParentheses(std::size_t index) const;
    std::size_t findKeyword(Range range, std::initializer_list<std::string_view> words) const;
    std::vector<Range> splitList(Range range) const;
    std::string text(Range range) const;

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

    // Tables, columns and expressions.
    void readTables(Range range);
    Target column(const std::string &qualifier, const std::string &name) const;
    Target expression(Range range) const;
    std::vector<Target> selectList(Range list) const;
    Target predicateColumn(std::size_t colon) const;

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
    std::map<std::string, std::string> m_aliases; ///< alias or table name -> table name
    std::vector<std::string> m_tables;            ///< tables of this statement, in order
    std::vector<Operand> m_operands;
    std::vector<bool> m_consumed; ///< per token of the block: a host variable already read
};

} // namespace cobol
