#include "DbImpact.h"

#include <algorithm>
#include <deque>
#include <set>
#include <tuple>

namespace {

using Range = DbImpactFacts::Range;

std::uint64_t endOf(const Range &r)
{
    return static_cast<std::uint64_t>(r.offset) + r.length;
}

/// The part of `a` that overlaps `[begin, end)`; length 0 when none.
Range overlap(const Range &a, std::uint64_t begin, std::uint64_t end)
{
    const std::uint64_t b = std::max<std::uint64_t>(a.offset, begin);
    const std::uint64_t e = std::min(endOf(a), end);
    if (a.length == 0 || b >= e)
        return {a.area, a.offset, 0};
    return {a.area, static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(e - b)};
}

std::string baseName(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

/// One breadth-first search over reached byte ranges. Each piece of reached bytes remembers the
/// piece it came from and the step that carried it, so every hit has the shortest chain of
/// steps (in pieces) from the origin.
class DbImpact::Search
{
public:
    explicit Search(const DbImpact &impact)
        : m_impact(impact)
    {}

    void reach(std::size_t unit, Range range, int parent, Step step, std::int64_t flow = -1)
    {
        const DbImpactFacts &facts = m_impact.m_units[unit].facts;
        if (range.length == 0 || range.area >= facts.areaSizes.size())
            return;
        range = facts.reduce(range);
        // Only the bytes not reached before become new pieces.
        auto &covered = m_covered[{unit, range.area}];
        std::uint64_t at = range.offset;
        const std::uint64_t end = endOf(range);
        auto it = covered.upper_bound(static_cast<std::uint32_t>(at));
        if (it != covered.begin() && std::prev(it)->second > at)
            at = std::prev(it)->second;
        while (at < end) {
            const std::uint64_t next = it == covered.end()
                                           ? end
                                           : std::min<std::uint64_t>(it->first, end);
            if (next > at) {
                m_pieces.push_back({unit,
                                    {range.area,
                                     static_cast<std::uint32_t>(at),
                                     static_cast<std::uint32_t>(next - at)},
                                    parent,
                                    step,
                                    flow});
                m_queue.push_back(m_pieces.size() - 1);
            }
            if (it == covered.end() || it->first >= end)
                break;
            at = it->second;
            ++it;
        }
        // Merge the range into the covered set.
        std::uint64_t b = range.offset;
        std::uint64_t e = end;
        auto i = covered.upper_bound(static_cast<std::uint32_t>(b));
        if (i != covered.begin() && std::prev(i)->second >= b)
            --i;
        while (i != covered.end() && i->first <= e) {
            b = std::min<std::uint64_t>(b, i->first);
            e = std::max<std::uint64_t>(e, i->second);
            i = covered.erase(i);
        }
        covered[static_cast<std::uint32_t>(b)] = static_cast<std::uint32_t>(e);
    }

    void run()
    {
        while (!m_queue.empty()) {
            const std::size_t index = m_queue.front();
            m_queue.pop_front();
            visit(index);
        }
    }

    Result result()
    {
        Result r;
        for (auto &[key, hit] : m_hits) {
            (void) key;
            r.hits.push_back(std::move(hit));
        }
        for (auto &[key, entry] : m_notFollowed) {
            (void) key;
            r.notFollowed.push_back(std::move(entry));
        }
        return r;
    }

private:
    struct Piece
    {
        std::size_t unit;
        Range range;
        int parent;
        Step step;
        std::int64_t flow = -1; ///< the whole-item flow that carried the piece, -1 none
    };

    std::vector<Step> chainOf(int piece) const
    {
        std::vector<Step> chain;
        for (int p = piece; p >= 0; p = m_pieces[p].parent)
            if (!m_pieces[p].step.text.empty())
                chain.push_back(m_pieces[p].step);
        std::reverse(chain.begin(), chain.end());
        return chain;
    }

    Place placeOf(std::size_t unit, std::uint32_t statement) const
    {
        const Indexed &u = m_impact.m_units[unit];
        const DbImpactFacts::Statement &s = u.facts.statements[statement];
        Place place;
        place.unit = unit;
        place.program = u.name;
        place.file = s.include < u.facts.files.size() ? baseName(u.facts.files[s.include])
                                                      : std::string();
        place.include = s.include;
        place.line = s.line;
        place.column = s.column;
        place.text = s.text;
        return place;
    }

    Step stepAt(std::size_t unit, std::uint32_t statement) const
    {
        const DbImpactFacts::Statement &s = m_impact.m_units[unit].facts.statements[statement];
        return {unit, s.line, s.text};
    }

    using PlaceKey = std::tuple<std::size_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    PlaceKey keyOf(std::size_t unit, std::uint32_t statement) const
    {
        const DbImpactFacts::Statement &s = m_impact.m_units[unit].facts.statements[statement];
        return {unit, s.include, s.line, statement};
    }

    void visit(std::size_t index)
    {
        const Piece piece = m_pieces[index];
        const Indexed &u = m_impact.m_units[piece.unit];
        const DbImpactFacts &f = u.facts;
        const std::uint32_t area = piece.range.area;
        const std::uint64_t b = piece.range.offset;
        const std::uint64_t e = endOf(piece.range);
        const int parent = static_cast<int>(index);

        for (std::uint32_t i : u.accesses[area]) {
            const DbImpactFacts::Access &a = f.accesses[i];
            if (overlap(a.range, b, e).length == 0)
                continue;
            auto [it, added] = m_hits.try_emplace(keyOf(piece.unit, a.statement));
            if (added) {
                it->second.place = placeOf(piece.unit, a.statement);
                it->second.mode = a.mode;
                it->second.chain = chainOf(parent);
            } else {
                it->second.mode = static_cast<DbImpactFacts::Mode>(it->second.mode | a.mode);
            }
        }
        // A flow of whole items is not followed back the way a piece came: the bytes it
        // reached stand for the piece's bytes, not for all of the item they came from.
        for (std::uint32_t i : u.flowsFrom[area])
            if (piece.flow != static_cast<std::int64_t>(i))
                follow(piece, parent, i, false);
        for (std::uint32_t i : u.flowsTo[area])
            if (f.flows[i].kind != DbImpactFacts::FlowKind::forward
                && piece.flow != static_cast<std::int64_t>(i))
                follow(piece, parent, i, true);
        for (std::uint32_t i : u.spans[area])
            shareCopybook(piece, parent, f.copybookSpans[i]);
        for (std::uint32_t i : u.boundaries[area]) {
            const DbImpactFacts::Boundary &boundary = f.boundaries[i];
            if (overlap(boundary.range, b, e).length > 0)
                notFollowed(piece.unit, boundary.statement, boundary.reason, parent);
        }
        for (auto [call, argument] : u.arguments[area])
            callInto(piece, parent, call, argument);
        for (std::uint32_t i : u.parameters[area])
            returnToCallers(piece, parent, i);
    }

    void notFollowed(std::size_t unit,
                     std::uint32_t statement,
                     const std::string &reason,
                     int parent)
    {
        auto [it, added] = m_notFollowed.try_emplace({keyOf(unit, statement), reason});
        if (added)
            it->second = {placeOf(unit, statement), reason, chainOf(parent)};
    }

    /// Carries the piece's bytes across flow `index` (backwards: from its `to` side).
    void follow(const Piece &piece, int parent, std::uint32_t index, bool backwards)
    {
        const DbImpactFacts::Flow &flow = m_impact.m_units[piece.unit].facts.flows[index];
        const Range &in = backwards ? flow.to : flow.from;
        const Range &out = backwards ? flow.from : flow.to;
        const Range hit = overlap(in, piece.range.offset, endOf(piece.range));
        if (hit.length == 0)
            return;
        const Step step = stepAt(piece.unit, flow.statement);
        if (flow.kind != DbImpactFacts::FlowKind::aligned) {
            reach(piece.unit, out, parent, step, index);
            return;
        }
        // Byte k of `in` is byte k + shift of `out`.
        const std::int64_t shift = backwards ? -static_cast<std::int64_t>(flow.shift) : flow.shift;
        const std::int64_t first = std::max<std::int64_t>(hit.offset - in.offset, -shift);
        const std::int64_t end = std::min<std::int64_t>(endOf(hit) - in.offset,
                                                        static_cast<std::int64_t>(out.length)
                                                            - shift);
        if (first >= end)
            return;
        reach(piece.unit,
              {out.area,
               static_cast<std::uint32_t>(out.offset + first + shift),
               static_cast<std::uint32_t>(end - first)},
              parent,
              step);
    }

    void shareCopybook(const Piece &piece, int parent, const DbImpactFacts::CopybookSpan &span)
    {
        const Range hit = overlap(span.range, piece.range.offset, endOf(piece.range));
        if (hit.length == 0)
            return;
        const std::uint64_t first = span.canonical + (hit.offset - span.range.offset);
        reachCopybook(span.copybook, first, first + hit.length, parent, &piece);
    }

public:
    /// Reaches canonical bytes [first, end) of `copybook` in every unit that includes it.
    void reachCopybook(const std::string &copybook,
                       std::uint64_t first,
                       std::uint64_t end,
                       int parent,
                       const void *from = nullptr)
    {
        const auto found = m_impact.m_copybookSpans.find(copybook);
        if (found == m_impact.m_copybookSpans.end())
            return;
        const std::string text = "copybook " + copybook + " bytes " + std::to_string(first + 1)
                                 + "-" + std::to_string(end);
        for (const SpanRef &ref : found->second) {
            const DbImpactFacts::CopybookSpan &span = m_impact.m_units[ref.unit]
                                                          .facts.copybookSpans[ref.span];
            const Range canonical{0, span.canonical, span.range.length};
            const Range part = overlap(canonical, first, end);
            if (part.length == 0)
                continue;
            const Step step = from ? Step{ref.unit, 0, text} : Step{};
            reach(ref.unit,
                  {span.range.area,
                   span.range.offset + (part.offset - span.canonical),
                   part.length},
                  parent,
                  step);
        }
    }

private:
    void callInto(const Piece &piece, int parent, std::uint32_t callIndex, std::uint32_t argument)
    {
        const DbImpactFacts::Call &call = m_impact.m_units[piece.unit].facts.calls[callIndex];
        const Range &arg = call.arguments[argument];
        const Range hit = overlap(arg, piece.range.offset, endOf(piece.range));
        if (hit.length == 0)
            return;
        if (call.target.empty()) {
            notFollowed(piece.unit,
                        call.statement,
                        "dynamic CALL: the program is named by the data item " + call.nameItem
                            + ", not by a literal",
                        parent);
            return;
        }
        const auto callees = m_impact.m_programs.find(call.target);
        if (callees == m_impact.m_programs.end()) {
            notFollowed(piece.unit,
                        call.statement,
                        "CALL '" + call.target + "': the program is not in the execution unit",
                        parent);
            return;
        }
        const Step step = stepAt(piece.unit, call.statement);
        for (std::size_t callee : callees->second) {
            const DbImpactFacts &f = m_impact.m_units[callee].facts;
            if (argument >= f.parameters.size()) {
                notFollowed(piece.unit,
                            call.statement,
                            "CALL '" + call.target + "': argument " + std::to_string(argument + 1)
                                + " has no parameter in the called program's USING",
                            parent);
                continue;
            }
            const Range &param = f.parameters[argument];
            const std::uint32_t shared = std::min(arg.length, param.length);
            const Range part = overlap(hit,
                                       arg.offset,
                                       static_cast<std::uint64_t>(arg.offset) + shared);
            if (part.length > 0)
                reach(callee,
                      {param.area, param.offset + (part.offset - arg.offset), part.length},
                      parent,
                      step);
        }
    }

    /// Bytes of a linkage parameter reach the arguments every caller in the unit passes.
    void returnToCallers(const Piece &piece, int parent, std::uint32_t parameter)
    {
        const DbImpactFacts &own = m_impact.m_units[piece.unit].facts;
        const Range &param = own.parameters[parameter];
        const Range hit = overlap(param, piece.range.offset, endOf(piece.range));
        if (hit.length == 0)
            return;
        for (std::size_t caller = 0; caller < m_impact.m_units.size(); ++caller) {
            const DbImpactFacts &f = m_impact.m_units[caller].facts;
            for (const DbImpactFacts::Call &call : f.calls) {
                if (call.target != own.program || parameter >= call.arguments.size())
                    continue;
                const Range &arg = call.arguments[parameter];
                const std::uint32_t shared = std::min(arg.length, param.length);
                const Range part = overlap(hit,
                                           param.offset,
                                           static_cast<std::uint64_t>(param.offset) + shared);
                if (part.length > 0)
                    reach(caller,
                          {arg.area, arg.offset + (part.offset - param.offset), part.length},
                          parent,
                          stepAt(caller, call.statement));
            }
        }
    }

    const DbImpact &m_impact;
    std::vector<Piece> m_pieces;
    std::deque<std::size_t> m_queue;
    std::map<std::pair<std::size_t, std::uint32_t>, std::map<std::uint32_t, std::uint32_t>>
        m_covered;
    std::map<PlaceKey, Hit> m_hits;
    std::map<std::pair<PlaceKey, std::string>, NotFollowed> m_notFollowed;
};

void DbImpact::addUnit(std::string name, DbImpactFacts facts)
{
    Indexed u;
    u.name = std::move(name);
    u.facts = std::move(facts);
    const std::size_t areas = u.facts.areaSizes.size();
    for (auto *list :
         {&u.accesses, &u.flowsFrom, &u.flowsTo, &u.spans, &u.boundaries, &u.parameters})
        list->resize(areas);
    u.arguments.resize(areas);
    const auto add =
        [&](std::vector<std::vector<std::uint32_t>> &list, const Range &r, std::size_t i) {
            if (r.length > 0 && r.area < areas)
                list[r.area].push_back(static_cast<std::uint32_t>(i));
        };
    const DbImpactFacts &f = u.facts;
    for (std::size_t i = 0; i < f.accesses.size(); ++i)
        add(u.accesses, f.accesses[i].range, i);
    for (std::size_t i = 0; i < f.flows.size(); ++i) {
        add(u.flowsFrom, f.flows[i].from, i);
        add(u.flowsTo, f.flows[i].to, i);
    }
    for (std::size_t i = 0; i < f.copybookSpans.size(); ++i)
        add(u.spans, f.copybookSpans[i].range, i);
    for (std::size_t i = 0; i < f.boundaries.size(); ++i)
        add(u.boundaries, f.boundaries[i].range, i);
    for (std::size_t i = 0; i < f.parameters.size(); ++i)
        add(u.parameters, f.parameters[i], i);
    for (std::size_t c = 0; c < f.calls.size(); ++c)
        for (std::size_t a = 0; a < f.calls[c].arguments.size(); ++a) {
            const Range &r = f.calls[c].arguments[a];
            if (r.length > 0 && r.area < areas)
                u.arguments[r.area].emplace_back(static_cast<std::uint32_t>(c),
                                                 static_cast<std::uint32_t>(a));
        }
    const std::size_t unit = m_units.size();
    for (std::size_t i = 0; i < f.copybookSpans.size(); ++i)
        m_copybookSpans[f.copybookSpans[i].copybook].push_back(
            {unit, static_cast<std::uint32_t>(i)});
    if (!f.program.empty())
        m_programs[f.program].push_back(unit);
    m_units.push_back(std::move(u));
}

std::size_t DbImpact::unitNamed(const std::string &name) const
{
    for (std::size_t i = 0; i < m_units.size(); ++i)
        if (m_units[i].name == name)
            return i;
    return npos;
}

DbImpact::Result DbImpact::ofItem(std::size_t unit, std::uint32_t symbol) const
{
    if (unit >= m_units.size()) {
        Result r;
        r.error = "there is no program unit " + std::to_string(unit + 1);
        return r;
    }
    const DbImpactFacts &f = m_units[unit].facts;
    if (symbol == 0 || symbol > f.items.size() || f.items[symbol - 1].length == 0) {
        Result r;
        r.error = "the program unit " + m_units[unit].name + " has no storage for symbol "
                  + std::to_string(symbol);
        return r;
    }
    Search search(*this);
    search.reach(unit, f.items[symbol - 1], -1, Step{});
    search.run();
    return search.result();
}

DbImpact::Result DbImpact::ofCopybook(const std::string &copybook,
                                      std::uint32_t first,
                                      std::uint32_t last) const
{
    Result r;
    if (first == 0 || last < first) {
        r.error = "the bytes " + std::to_string(first) + "-" + std::to_string(last)
                  + " are no range: expected first-last, 1-based, first <= last";
        return r;
    }
    if (!m_copybookSpans.contains(copybook)) {
        r.error = "no program unit includes the copybook " + copybook
                  + " with storage (or it has not been recorded with impact facts)";
        return r;
    }
    Search search(*this);
    search.reachCopybook(copybook, first - 1, last, -1);
    search.run();
    return search.result();
}

const char *DbImpact::modeText(DbImpactFacts::Mode mode)
{
    switch (mode) {
    case DbImpactFacts::read:
        return "read";
    case DbImpactFacts::write:
        return "write";
    case DbImpactFacts::readWrite:
        return "read/write";
    }
    return "read";
}

std::string DbImpact::chainText(const std::vector<Step> &chain, const DbImpact &impact)
{
    std::string text;
    for (const Step &step : chain) {
        if (!text.empty())
            text += " > ";
        text += step.unit < impact.m_units.size() ? impact.m_units[step.unit].name : "?";
        if (step.line)
            text += " " + std::to_string(step.line);
        text += " " + step.text;
    }
    return text;
}
