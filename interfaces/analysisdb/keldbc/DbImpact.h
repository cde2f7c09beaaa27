#pragma once

#include "DbImpactFacts.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class DbPu;
class DbToken;

/// Field impact across the program units of an execution unit: the statements that read or
/// write some bytes, directly or through the data flow that joins bytes (moves, comparisons,
/// arithmetic, REDEFINES and RENAMES, which share bytes, copybooks shared between programs and
/// CALL USING into a called program's linkage section), and what the flow leaves behind
/// ("not followed": dynamic CALLs, programs outside the execution unit, flows not followed).
///
/// Built from each unit's `DbImpactFacts` (`load` reads them from a database); the queries
/// only read, so one object may answer queries from several threads.
class DbImpact final
{
public:
    /// One step of the chain that led to a hit: the statement (or shared copybook, or CALL)
    /// that carried the bytes on.
    struct Step
    {
        std::size_t unit = 0; ///< position of the unit (0-based, table order)
        std::uint32_t line = 0;
        std::string text;
    };

    /// A place in a unit: the statement's first word.
    struct Place
    {
        std::size_t unit = 0; ///< 0-based; the execution unit's number is unit + 1
        std::string program;
        std::string file; ///< the file that holds the statement (a copybook for copied code)
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        std::string text;
    };

    struct Hit
    {
        Place place;
        DbImpactFacts::Mode mode = DbImpactFacts::read;
        std::vector<Step> chain; ///< from the field asked about to the bytes this hit touches
    };

    struct NotFollowed
    {
        Place place;
        std::string reason;
        std::vector<Step> chain;
    };

    struct Result
    {
        std::vector<Hit> hits;                ///< by unit, file order, line, column
        std::vector<NotFollowed> notFollowed; ///< the same order
        std::string error; ///< why there is no answer (unknown item, no such copybook bytes)
    };

    /// Reads the impact facts of every unit of the database `fileName` (read-only). Throws
    /// KelMsgException as DbEu::open does; a unit whose facts are damaged is skipped and
    /// named in `loadWarnings()`.
    static std::unique_ptr<DbImpact> load(const std::string &fileName);

    /// Adds a unit (the next position); `name` is its program name as the views show it.
    void addUnit(std::string name, DbImpactFacts facts);
    std::size_t numberOfUnits() const { return m_units.size(); }
    /// The position of the first unit named `name`; npos when none.
    std::size_t unitNamed(const std::string &name) const;
    const DbImpactFacts &facts(std::size_t unit) const { return m_units.at(unit).facts; }
    const std::vector<std::string> &loadWarnings() const { return m_warnings; }

    /// The impact of symbol `symbol` (1-based) of unit `unit` (0-based). A level-88 condition
    /// stands for its conditional variable.
    Result ofItem(std::size_t unit, std::uint32_t symbol) const;
    /// The impact of bytes `first`..`last` (1-based, inclusive) of copybook `copybook` laid out
    /// on its own, in every unit that includes it.
    Result ofCopybook(const std::string &copybook, std::uint32_t first, std::uint32_t last) const;

    /// "read", "write" or "read/write".
    static const char *modeText(DbImpactFacts::Mode mode);
    /// The chain as one line: "PROGA 12 MOVE A TO B > PROGB 30 ...".
    static std::string chainText(const std::vector<Step> &chain, const DbImpact &impact);

    /// The token a place's statement starts with in the loaded unit `pu` (the first token of
    /// its line when no token starts at its column); null when the line has none.
    static DbToken *tokenOf(const DbPu &pu, const Place &place);

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    class Search;

    struct Indexed
    {
        std::string name;
        DbImpactFacts facts;
        // Per area: indexes into the facts' lists whose ranges lie in that area.
        std::vector<std::vector<std::uint32_t>> accesses, flowsFrom, flowsTo, spans, boundaries,
            parameters;
        std::vector<std::vector<std::pair<std::uint32_t, std::uint32_t>>> arguments; ///< call, arg
    };
    struct SpanRef
    {
        std::size_t unit;
        std::uint32_t span;
    };

    std::vector<Indexed> m_units;
    std::map<std::string, std::vector<SpanRef>> m_copybookSpans;
    std::map<std::string, std::vector<std::size_t>> m_programs; ///< program name -> units
    std::vector<std::string> m_warnings;
};
