#include "ProgramFlowBuilder.h"

#include "DbNode.h"
#include "DbPu.h"
#include "DbToken.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

using Arc = FlowGraph::Arc;
using ArcKind = FlowGraph::ArcKind;
using EndKind = FlowGraph::EndKind;
using NodeKind = FlowGraph::NodeKind;

/// The context a node runs in: the index of the node whose end returns control to a performer,
/// or mainLine when nothing is waiting for a return.
constexpr int mainLine = -1;

bool isWord(const DbToken *token, const char *word)
{
    return token && ProgramFlowBuilder::upper(token->text()) == word;
}

/// The state of one build: the unit, the graph so far and the procedure names.
class Builder
{
public:
    explicit Builder(const DbPu &pu)
        : m_pu(pu)
    {
        m_graph.title = pu.puName();
    }

    FlowGraph run()
    {
        const DbNode *procedure = procedureDivision();
        if (!procedure)
            return std::move(m_graph);
        collectNodes(*procedure);
        if (m_graph.nodes.empty())
            return std::move(m_graph);
        m_graph.nodes.front().entry = true;
        for (std::uint32_t n = 1; n <= m_pu.numberOfNodes(); ++n) {
            const DbNode *node = m_pu.numberToNode(n);
            if (node->kind() == DbNode::statement && owner(*node) >= 0)
                statement(*node);
        }
        addAlteredGoTos();
        addFallThroughAndReturns();
        m_graph.computeReachability();
        // A section header without statements of its own only groups its paragraphs: it is
        // live when one of them is (a PERFORM of its first paragraph passes it by).
        for (FlowGraph::Node &node : m_graph.nodes)
            if (node.section >= 0 && node.reachable && !m_hasStatements.contains(node.section))
                m_graph.nodes[node.section].reachable = true;
        return std::move(m_graph);
    }

private:
    const DbNode *procedureDivision() const
    {
        for (std::uint32_t n = 1; n <= m_pu.numberOfNodes(); ++n) {
            const DbNode *node = m_pu.numberToNode(n);
            if (node->kind() == DbNode::division
                && ProgramFlowBuilder::upper(node->name()).starts_with("PROCEDURE"))
                return node;
        }
        return nullptr;
    }

    /// One graph node per section and paragraph, in source order, and one for statements that
    /// precede them. (Syntax node numbers do not follow the source: a paragraph may be numbered
    /// before the sentences that precede it.)
    void collectNodes(const DbNode &procedure)
    {
        const std::uint32_t count = m_pu.numberOfNodes();
        std::vector<const DbNode *> procedures;
        std::uint32_t firstLoose = 0; // first token of a sentence right under the division
        for (std::uint32_t n = 1; n <= count; ++n) {
            const DbNode *node = m_pu.numberToNode(n);
            if (!node->parent() || !within(*node, procedure))
                continue;
            if (node->kind() == DbNode::section || node->kind() == DbNode::paragraph)
                procedures.push_back(node);
            else if (node->parent() == &procedure && node->kind() == DbNode::sentence) {
                const std::uint32_t t = m_pu.tokenToNumber(node->firstToken());
                firstLoose = firstLoose ? std::min(firstLoose, t) : t;
            }
        }
        std::sort(procedures.begin(), procedures.end(), [this](const DbNode *a, const DbNode *b) {
            return m_pu.tokenToNumber(a->firstToken()) < m_pu.tokenToNumber(b->firstToken());
        });
        std::vector<int> graphNodeOf(count + 1, -1);
        int startNode = -1;
        if (firstLoose != 0) {
            FlowGraph::Node start;
            start.kind = NodeKind::procedureStart;
            start.name = "PROCEDURE DIVISION";
            start.firstToken = firstLoose;
            start.lastToken = procedures.empty()
                                  ? m_pu.tokenToNumber(procedure.lastToken())
                                  : m_pu.tokenToNumber(procedures.front()->firstToken()) - 1;
            startNode = 0;
            m_graph.nodes.push_back(std::move(start));
            m_lastOfSection.push_back(0);
        }
        for (const DbNode *node : procedures) {
            const int index = static_cast<int>(m_graph.nodes.size());
            FlowGraph::Node g;
            g.kind = node->kind() == DbNode::section ? NodeKind::section : NodeKind::paragraph;
            g.name = node->name();
            g.firstToken = m_pu.tokenToNumber(node->firstToken());
            g.lastToken = m_pu.tokenToNumber(node->lastToken());
            g.note = FlowGraph::kindName(g.kind);
            if (g.kind == NodeKind::paragraph && node->parent()->kind() == DbNode::section)
                g.section = graphNodeOf[node->parent()->number()];
            graphNodeOf[node->number()] = index;
            m_lastOfSection.push_back(index);
            if (g.section >= 0)
                m_lastOfSection[g.section] = index;
            m_names[ProgramFlowBuilder::upper(node->name())].push_back(index);
            m_graph.nodes.push_back(std::move(g));
        }
        // Every syntax node belongs to the nearest section or paragraph above it.
        m_ownerOf.assign(count + 1, -1);
        for (std::uint32_t n = 1; n <= count; ++n) {
            for (const DbNode *up = m_pu.numberToNode(n); up; up = up->parent()) {
                if (graphNodeOf[up->number()] >= 0) {
                    m_ownerOf[n] = graphNodeOf[up->number()];
                    break;
                }
                if (up == &procedure) {
                    m_ownerOf[n] = startNode;
                    break;
                }
            }
        }
    }

    static bool within(const DbNode &node, const DbNode &ancestor)
    {
        for (const DbNode *up = node.parent(); up; up = up->parent())
            if (up == &ancestor)
                return true;
        return false;
    }

    /// The graph node a syntax node belongs to; -1 when none (outside the procedures).
    int owner(const DbNode &node) const { return m_ownerOf[node.number()]; }

    /// Whether `statement` runs whenever its node runs (a sentence's statement), not under a
    /// condition or in a loop of another statement.
    static bool unconditional(const DbNode &statement)
    {
        const DbNode *parent = statement.parent();
        return parent && parent->kind() == DbNode::sentence;
    }

    /// The procedure `words[at]` names (with "OF/IN section" after it); -1 when none. Moves
    /// `at` past the name and its qualifier.
    int procedureAt(const std::vector<const DbToken *> &words, std::size_t &at, int from)
    {
        if (at >= words.size())
            return -1;
        const DbToken *word = words[at];
        if (word->type() != DbToken::procedureName && word->type() != DbToken::other
            && word->type() != DbToken::dataName)
            return -1;
        const auto found = m_names.find(ProgramFlowBuilder::upper(word->text()));
        if (found == m_names.end())
            return -1;
        ++at;
        int section = -1;
        if (at + 1 < words.size() && (isWord(words[at], "OF") || isWord(words[at], "IN"))) {
            const auto sections = m_names.find(ProgramFlowBuilder::upper(words[at + 1]->text()));
            if (sections != m_names.end())
                for (int s : sections->second)
                    if (m_graph.nodes[s].kind == NodeKind::section)
                        section = s;
            at += 2;
        }
        const std::vector<int> &candidates = found->second;
        const int home = section >= 0 ? section
                         : from >= 0  ? (m_graph.nodes[from].kind == NodeKind::section
                                             ? from
                                             : m_graph.nodes[from].section)
                                      : -1;
        for (int c : candidates)
            if (m_graph.nodes[c].kind == NodeKind::paragraph && m_graph.nodes[c].section == home)
                return c;
        if (section >= 0)
            return -1;
        for (int c : candidates)
            if (m_graph.nodes[c].kind == NodeKind::paragraph)
                return c;
        return candidates.front();
    }

    /// The last node a PERFORM of `target` runs before returning: a section's last paragraph.
    int rangeEnd(int target) const
    {
        return m_graph.nodes[target].kind == NodeKind::section ? m_lastOfSection[target] : target;
    }

    void addArc(int from, int to, ArcKind kind, std::uint32_t token, std::string label = {})
    {
        m_graph.arcs.push_back({from, to, kind, token, std::move(label)});
    }

    void markEnd(int node, EndKind end)
    {
        if (m_graph.nodes[node].end == EndKind::none)
            m_graph.nodes[node].end = end;
    }

    void statement(const DbNode &node)
    {
        const int from = owner(node);
        const std::vector<const DbToken *> words = ProgramFlowBuilder::ownTokens(m_pu, node);
        if (words.empty())
            return;
        const std::string verb = ProgramFlowBuilder::upper(words[0]->text());
        const std::uint32_t token = m_pu.tokenToNumber(words[0]);
        const bool always = unconditional(node);
        m_hasStatements.insert(from);
        if (verb == "PERFORM")
            perform(words, from, token);
        else if (verb == "GO")
            goTo(words, from, token, always);
        else if (verb == "ALTER")
            alter(words, from, token);
        else if (verb == "STOP" && isWord(words.size() > 1 ? words[1] : nullptr, "RUN"))
            ends(from, EndKind::stopRun, always);
        else if (verb == "GOBACK")
            ends(from, EndKind::goBack, always);
        else if (verb == "EXIT" && isWord(words.size() > 1 ? words[1] : nullptr, "PROGRAM"))
            ends(from, EndKind::exitProgram, always);
        else if (verb == "ENTRY")
            m_graph.nodes[from].entry = true;
        else if (verb == "USE")
            m_declaratives.insert(
                m_graph.nodes[from].kind == NodeKind::section ? from : m_graph.nodes[from].section);
    }

    void ends(int from, EndKind end, bool always)
    {
        markEnd(from, end);
        if (always)
            m_terminated.insert(from);
    }

    void perform(const std::vector<const DbToken *> &words, int from, std::uint32_t token)
    {
        std::size_t at = 1;
        const int first = procedureAt(words, at, from);
        if (first < 0)
            return; // an inline PERFORM: its statements are nodes of their own
        int last = rangeEnd(first);
        std::string label;
        if (at < words.size() && (isWord(words[at], "THRU") || isWord(words[at], "THROUGH"))) {
            ++at;
            const std::size_t nameAt = at;
            const int thru = procedureAt(words, at, from);
            if (thru >= 0) {
                last = std::max(first, rangeEnd(thru));
                label = "THRU " + m_graph.nodes[thru].name;
            } else if (nameAt < words.size()) {
                label = "THRU " + words[nameAt]->text() + " (not found)";
            }
        }
        for (; at < words.size(); ++at)
            if (isWord(words[at], "UNTIL") || isWord(words[at], "VARYING")
                || isWord(words[at], "TIMES")) {
                label += (label.empty() ? "" : " ") + ProgramFlowBuilder::upper(words[at]->text());
                break;
            }
        addArc(from, first, ArcKind::perform, token, label);
        m_performs.push_back({from, first, last});
    }

    void goTo(const std::vector<const DbToken *> &words, int from, std::uint32_t token, bool always)
    {
        std::size_t at = isWord(words.size() > 1 ? words[1] : nullptr, "TO") ? 2 : 1;
        std::vector<int> targets;
        bool depending = false;
        while (at < words.size()) {
            if (isWord(words[at], "DEPENDING")) {
                depending = true;
                break;
            }
            const int target = procedureAt(words, at, from);
            if (target < 0)
                ++at;
            else
                targets.push_back(target);
        }
        if (depending) {
            // Out of range the statement does nothing: the node goes on.
            for (int t : targets)
                addArc(from, t, ArcKind::goToDepending, token);
            return;
        }
        if (targets.empty())
            m_alterable.insert(from); // "GO TO." waits for an ALTER to give its target
        for (int t : targets)
            addArc(from, t, ArcKind::goTo, token);
        if (always)
            m_terminated.insert(from);
    }

    void alter(const std::vector<const DbToken *> &words, int from, std::uint32_t token)
    {
        std::size_t at = 1;
        while (at < words.size()) {
            const int altered = procedureAt(words, at, from);
            if (altered < 0) {
                ++at;
                continue;
            }
            if (at < words.size() && isWord(words[at], "TO"))
                ++at;
            if (at < words.size() && isWord(words[at], "PROCEED"))
                ++at;
            if (at < words.size() && isWord(words[at], "TO"))
                ++at;
            const int target = procedureAt(words, at, from);
            if (target < 0)
                continue;
            addArc(from,
                   altered,
                   ArcKind::alter,
                   token,
                   "TO PROCEED TO " + m_graph.nodes[target].name);
            m_alters.push_back({altered, target, token});
        }
    }

    void addAlteredGoTos()
    {
        for (const auto &[altered, target, token] : m_alters) {
            // The GO TO of a section header or of the section's first paragraph.
            const int holder = m_graph.nodes[altered].kind == NodeKind::section
                                       && !m_alterable.contains(altered)
                                   ? altered + 1
                                   : altered;
            if (holder < static_cast<int>(m_graph.nodes.size()))
                addArc(holder, target, ArcKind::alteredGoTo, token, "after ALTER");
        }
    }

    /// Follows control from the entries with the perform ranges it runs in (see README.md):
    /// a node's end goes on to the next node unless it ends every run (an unconditional GO TO,
    /// STOP RUN, GOBACK, EXIT PROGRAM) or every context it runs in returns at its end.
    void addFallThroughAndReturns()
    {
        const int count = static_cast<int>(m_graph.nodes.size());
        std::vector<std::vector<int>> jumps(count);
        for (const Arc &a : m_graph.arcs)
            if (a.kind == ArcKind::goTo || a.kind == ArcKind::goToDepending
                || a.kind == ArcKind::alteredGoTo)
                jumps[a.from].push_back(a.to);
        std::vector<std::set<int>> contexts(count);
        std::vector<std::pair<int, int>> work;
        auto reach = [&](int node, int context) {
            if (contexts[node].insert(context).second)
                work.push_back({node, context});
        };
        for (int i = 0; i < count; ++i) {
            // A declarative section is entered by the run time and returns at its end.
            const bool declarative = m_declaratives.contains(i);
            if (declarative)
                m_graph.nodes[i].entry = true;
            if (m_graph.nodes[i].entry)
                reach(i, declarative ? m_lastOfSection[i] : mainLine);
        }
        for (const Perform &p : m_performs)
            reach(p.first, p.last);
        while (!work.empty()) {
            const auto [node, context] = work.back();
            work.pop_back();
            for (int target : jumps[node])
                reach(target, context);
            if (context != node && !m_terminated.contains(node) && node + 1 < count)
                reach(node + 1, context);
        }
        for (int i = 0; i < count; ++i) {
            if (m_terminated.contains(i))
                continue;
            // A node no context reaches (dead code) keeps its plain fall-through, so the dead
            // chain is shown as the source reads.
            const bool goesOn = contexts[i].empty()
                                || std::any_of(contexts[i].begin(), contexts[i].end(), [i](int c) {
                                       return c != i;
                                   });
            if (!goesOn)
                continue;
            if (i + 1 < count)
                addArc(i, i + 1, ArcKind::fallThrough, 0);
            else
                markEnd(i, EndKind::fallsOffEnd);
        }
        std::set<std::pair<int, int>> returns;
        for (const Perform &p : m_performs)
            if (returns.insert({p.last, p.from}).second)
                addArc(p.last, p.from, ArcKind::performReturn, 0);
    }

    struct Perform
    {
        int from;
        int first;
        int last;
    };
    struct Alter
    {
        int altered;
        int target;
        std::uint32_t token;
    };

    const DbPu &m_pu;
    FlowGraph m_graph;
    std::vector<int> m_ownerOf;       ///< syntax node number -> graph node (-1 none)
    std::vector<int> m_lastOfSection; ///< graph node -> the last node of its section (itself)
    std::map<std::string, std::vector<int>> m_names;
    std::vector<Perform> m_performs;
    std::vector<Alter> m_alters;
    std::set<int> m_terminated;
    std::set<int> m_alterable;
    std::set<int> m_declaratives;
    std::set<int> m_hasStatements;
};

} // namespace

std::string ProgramFlowBuilder::upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<const DbToken *> ProgramFlowBuilder::ownTokens(const DbPu &pu, const DbNode &statement)
{
    std::vector<const DbToken *> words;
    const std::uint32_t first = pu.tokenToNumber(statement.firstToken());
    const std::uint32_t last = pu.tokenToNumber(statement.lastToken());
    for (std::uint32_t t = first; t != 0 && t <= last; ++t) {
        const DbToken *token = pu.numberToToken(t);
        if (token->owningSyntaxNode() == &statement && token->type() != DbToken::comment
            && token->type() != DbToken::copyStatement)
            words.push_back(token);
    }
    return words;
}

FlowGraph ProgramFlowBuilder::build(const DbPu &pu)
{
    return Builder(pu).run();
}
