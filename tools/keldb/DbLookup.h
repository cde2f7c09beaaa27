#pragma once

#include <string>
#include <vector>

class DbEu;
class DbPu;
class DbSymbol;

/// Finds program units and data items by the names a user types.
class DbLookup final
{
public:
    /// The units `spec` names: a unit number ("3" or "#3"), a source file (its path as
    /// recorded, or relative to the working directory), or a program name (any letter case).
    /// Several units when the name is not unique (same program in two directories).
    static std::vector<DbPu *> units(DbEu &eu, const std::string &spec);

    /// The data items of a loaded unit that `name` names: "NAME [OF|IN QUALIFIER]..." (any
    /// letter case, the qualifiers from the inside out as COBOL writes them), optionally only
    /// those declared in the copybook `copybook`. Items without storage (88, 78) never match.
    static std::vector<const DbSymbol *> items(const DbPu &pu,
                                               const std::string &name,
                                               const std::string &copybook = {});

    /// The copybook that declares `symbol`; empty for the program source.
    static std::string copybookOf(const DbSymbol &symbol);
};
