#pragma once

#include <map>
#include <string>
#include <vector>

namespace cobol {

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

} // namespace cobol
