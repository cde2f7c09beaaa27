#pragma once

#include <cstdint>
#include <string>

class DbEu;
class DbPu;
class DbToken;

/// A request to open a view window, handed to the desktop (KelDesktop::newWindow), which takes
/// ownership, resolves it on a request thread and gives it to the host program's factory
/// (KelWindowStart) on the GUI thread.
///
/// A request names its program unit by pointer (`pu`), or by name (`puName`, also a file path:
/// the desktop reduces it to the bare file name, "/src/PAYROLL.cbl" -> "PAYROLL", and takes the
/// first unit of that name), or not at all (both empty: the execution unit as a whole; the
/// desktop then gives the request the first unit, and `puName` stays empty, which tells the
/// factory that the request was for the whole execution unit).
struct StartWindowData
{
    /// The view kinds a request may ask for.
    enum Kind : char {
        browser = 'b',   ///< the source browser (592)
        grapher = 'g',   ///< the control-flow grapher (593)
        listViews = 's', ///< the list views: related programs, symbols used, related sources (595)
        dataMap = 'm',   ///< the data map (596)
    };

    StartWindowData() = default;
    StartWindowData(char kind, DbPu *pu, std::string puName, DbToken *token = nullptr)
        : pu(pu)
        , puName(std::move(puName))
        , token(token)
        , kind(kind)
    {}

    /// The program unit; null when the request names it by `puName` or names none.
    DbPu *pu = nullptr;
    std::string puName;
    /// The token to show; may be null.
    DbToken *token = nullptr;
    /// Three words for the requesting view and the factory to agree on (e.g. a line to show);
    /// 0 unless set.
    std::uint32_t word1 = 0;
    std::uint32_t word2 = 0;
    std::uint32_t word3 = 0;
    /// The requested view kind (Kind; the factory may know others).
    char kind = browser;

    /// The execution unit that requests are resolved in (class-wide; the desktop sets it when
    /// it loads one). Thread-safe.
    static void eu(DbEu &eu);
    static DbEu *eu();
    /// Forgets the execution unit (when it is closed).
    static void clearEu();
};
