#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DbEu;
class DbPu;

/// The CALL statements of a loaded program unit, read from its recorded tokens and syntax nodes:
/// the program each one calls when the analysis can tell.
///
/// - `CALL 'PAYCALC'` (a literal) is a static call of PAYCALC;
/// - `CALL WS-PROG` (a data name) is a dynamic call; its target is known when the item has a
///   literal VALUE (`05 WS-PROG PIC X(8) VALUE 'TAXCALC'`), which is how most programs name the
///   programs they call dynamically. Without one the target is left empty.
///
/// Program names compare without regard to case and trailing blanks, as the runtime finds them.
class CallFacts final
{
public:
    struct Call
    {
        std::string target;      ///< upper case, trimmed; empty when not known
        bool isDynamic = false;  ///< through a data item
        std::uint32_t token = 0; ///< the word CALL (a token number of the unit)
        std::uint32_t line = 0;  ///< the expanded line of the word CALL
    };

    /// A caller of a unit: `caller` calls it at `call`.
    struct Caller
    {
        DbPu *caller = nullptr;
        Call call;
    };

    /// The calls of `pu` (loaded), in source order.
    static std::vector<Call> callsOf(const DbPu &pu);

    /// The calls of every other unit of `eu` whose target is `pu`'s name, loading the units that
    /// are not loaded yet (a unit that cannot be loaded is passed over).
    static std::vector<Caller> callersOf(DbEu &eu, const DbPu &pu);

    /// A program name as the runtime compares it: quotes removed, trimmed, upper case.
    static std::string normalName(const std::string &text);
};
