#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// The `keldb` commands about field impact and copybook layouts:
///
///     keldb impact DB UNIT ITEM                   statements touched by a data item
///     keldb impact DB --copybook NAME --bytes A-B statements touched by bytes of a copybook
///     keldb copybook DB NAME                      the copybook's storage map on its own
///
/// Impact output is one line per hit, fields separated by a TAB: program, file:line, read /
/// write / read/write, the statement as written, and the chain of statements that carried the
/// bytes there ("direct" for none). Flows the analysis does not follow come after the hits, with
/// "not followed" in the third field and the reason in the last.
class ImpactCommand final
{
public:
    struct Request
    {
        std::string database;
        std::string unit; ///< impact of an item: the unit and the item's name
        std::string item;
        std::string copybook; ///< impact of copybook bytes, or the copybook to lay out
        std::string bytes;    ///< "A-B" (1-based, inclusive) or "A"
    };

    /// Returns a KeldbProgram status.
    static int impact(const Request &request, std::ostream &out, std::ostream &err);
    static int copybookMap(const Request &request, std::ostream &out, std::ostream &err);
};
