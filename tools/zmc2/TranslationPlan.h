#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace cobol {
class AnalysisData;
}

/// What zmc2's translation of EXEC blocks takes from the front end's reading of a program: for
/// every block (by the place of its EXEC) the command and whether it stands in the procedure
/// division; for every argument the front end resolved (by its place) how the generated CALL
/// passes it; the members the front end added implicitly; and which files hold text to
/// translate. Arguments the front end could not resolve (an undeclared host variable) are left
/// out of the CALL, so that the check reports them once, through the front end's diagnostic.
class TranslationPlan final
{
public:
    struct Place
    {
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        bool operator<(const Place &other) const
        {
            return std::tie(include, line, column)
                   < std::tie(other.include, other.line, other.column);
        }
    };
    struct Block
    {
        std::string detail;     ///< "CICS ASKTIME", "SQL INCLUDE", ...
        bool procedure = false; ///< in the procedure division (else the data division)
    };
    enum class Pass {
        Reference, ///< a data item: BY REFERENCE
        Content,   ///< a literal, a constant, LENGTH OF: BY CONTENT as written
        Quoted     ///< a name written as a word (DL/I SEGMENT, PSB): BY CONTENT in quotes
    };

    static TranslationPlan of(const cobol::AnalysisData &data);

    std::map<Place, Block> blocks;
    std::map<Place, Pass> arguments;
    /// The implicit members in the order the front end added them (DFHEIBLK, DFHCOMMAREA, DLZDIB).
    std::vector<std::string> implicitMembers;
    /// The includes (0 = the program source) whose files hold an EXEC block, DFHRESP or DFHVALUE,
    /// or (the program source) need the implicit members.
    std::set<std::uint32_t> includesToTranslate;
};
