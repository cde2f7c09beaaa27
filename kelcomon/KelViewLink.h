#pragma once

#include "IWindowHandle.h"

#include <cstdint>

class DbEu;
class DbPu;
class DbToken;

/// The links from a view (or the desktop) to the open windows of another view kind: find one
/// that shows, or can show, a token and send it there; without one, ask the desktop for a new
/// window.
///
/// The search is the registry's (FindLikeObject): windows of the target kind with the same
/// object id and an execution unit of the same name, other than the searching window, asked in
/// table order with the query 0x4011 (token number, program-unit number); the first that answers
/// non-zero is found. It gets the target's find event (unless the caller only brings it to the
/// front), a show request and 0x4004. The search may run on a view's worker thread.
class KelViewLink final
{
public:
    struct Target
    {
        unsigned long view = 0;            ///< 592, 593, 596
        int findEvent = 0;                 ///< posted to the window found: 0x4013, 0x4012, 0x4006
        char kind = 0;                     ///< of a new window: 'b', 'g', 'm'
        unsigned long nullTokenNumber = 0; ///< the token number asked for a null token
        bool sendsNodeNumber = false;      ///< the find event's first parameter is the node number
        bool requestCarriesToken = false;  ///< a new window's request carries the token
    };
    /// The source browser: 0x4013 (node number, unit number); a null token asks for token 1.
    static const Target source;
    /// The grapher: 0x4012 (token number, unit number); a null token asks for 0.
    static const Target graph;
    /// The data map: 0x4006 (token number, unit number); a null token asks for 0.
    static const Target dataMap;

    enum class Positioning { findEvent, showOnly };

    /// Finds an open window of `target` for `token` of `pu` (either may be null) in `eu`, other
    /// than `self`, and sends it there. True when one was found and told.
    static bool showInOpenWindow(IWindowHandle self,
                                 DbEu *eu,
                                 DbPu *pu,
                                 DbToken *token,
                                 const Target &target,
                                 Positioning positioning,
                                 unsigned long nullTokenNumber);
    /// Asks the desktop for a new window of `target`'s kind on `pu` (and `token` when the target
    /// carries it). False when there is no desktop.
    static bool requestWindow(const Target &target, DbPu *pu, DbToken *token);
    /// Asks the desktop for a window of `kind` on `pu` (null: the execution unit as a whole).
    static bool requestWindow(char kind, DbPu *pu, DbToken *token = nullptr);

    /// The number of `token` in `pu`; `nullNumber` for a null token, 0 without a unit.
    static std::uint32_t tokenNumber(const DbPu *pu,
                                     const DbToken *token,
                                     unsigned long nullNumber);
    /// The number of the syntax node that holds `token` (for a null token, token 1's node); 0
    /// without a unit.
    static std::uint32_t nodeNumber(const DbPu *pu, const DbToken *token);
};
