#pragma once

#include "SqlSchema.h"
#include "SqlText.h"

#include <map>
#include <string>
#include <vector>

namespace cobol {

class ExecArgumentReader;

/// What a place in one SQL statement refers to: the tables the statement names (FROM, JOIN,
/// UPDATE, INSERT INTO, with their aliases), the column a name or a select-list entry stands
/// for and its type (from DECLARE TABLE; special registers and DATE(), TIMESTAMP(), YEAR(),
/// CHAR(date, format) give theirs), and the column a predicate compares a host variable with.
class SqlColumnResolver final
{
public:
    using Range = SqlText::Range;
    /// A column ("TABLE.COLUMN", or the bare name when the table is not known) or a select-list
    /// expression, with its type when known.
    struct Target
    {
        std::string column;
        std::string type;
    };

    SqlColumnResolver(const ExecArgumentReader &reader, const SqlSchema &schema)
        : m_reader(reader)
        , m_text(reader)
        , m_schema(schema)
    {}

    /// Reads the table references of `range` (the whole statement, subqueries included).
    void readTables(Range range);
    /// The tables read, in order.
    const std::vector<std::string> &tables() const { return m_tables; }

    Target column(const std::string &qualifier, const std::string &name) const;
    Target expression(Range range) const;
    /// The entries of a select list; `*` and `T.*` stand for the declared columns.
    std::vector<Target> selectList(Range list) const;
    /// The column on the other side of the comparison the host variable at `colon` is in
    /// ("COL op :HV", ":HV op COL", BETWEEN, IN, LIKE); empty when there is none.
    Target predicateColumn(std::size_t colon) const;

private:
    const ExecArgumentReader &m_reader;
    SqlText m_text;
    const SqlSchema &m_schema;
    std::map<std::string, std::string> m_aliases; ///< alias or table name -> table name
    std::vector<std::string> m_tables;
};

} // namespace cobol
