#include "ImpactRecorder.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "ProgramModel.h"
#include "StatementTexts.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>
#include <tuple>

namespace kelmkpu {

namespace {

using Range = DbImpactFacts::Range;
using PlaceKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

/// The first value given to each key, for keys that come mostly in ascending order (the
/// statements' first tokens and groups): a sorted vector appended to at its end, where a map
/// would take a node per key.
class FirstValues
{
public:
    static constexpr std::uint32_t none = ~std::uint32_t(0);
    void reserve(std::size_t count) { m_entries.reserve(count); }
    std::uint32_t find(std::uint32_t key) const
    {
        const auto found = lowerBound(key);
        return found != m_entries.end() && found->first == key ? found->second : none;
    }
    void tryEmplace(std::uint32_t key, std::uint32_t value)
    {
        if (m_entries.empty() || m_entries.back().first < key) {
            m_entries.emplace_back(key, value);
            return;
        }
        const auto found = lowerBound(key);
        if (found == m_entries.end() || found->first != key)
            m_entries.emplace(found, key, value);
    }

private:
    using Entry = std::pair<std::uint32_t, std::uint32_t>;
    std::vector<Entry>::const_iterator lowerBound(std::uint32_t key) const
    {
        if (!m_entries.empty() && m_entries.back().first == key)
            return m_entries.end() - 1;
        return std::lower_bound(m_entries.begin(),
                                m_entries.end(),
                                key,
                                [](const Entry &e, std::uint32_t k) { return e.first < k; });
    }
    std::vector<Entry> m_entries;
};

class Builder
{
    /// A CALL whose target and arguments readTokens finds.
    struct PendingCall
    {
        std::uint32_t call = 0; ///< index into m_facts.calls
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        bool literal = false;
        std::string detail;
        std::vector<std::pair<PlaceKey, Range>> starts; ///< argument operands not yet placed
    };
    enum class ParameterState { Seeking, Reading, Done };
    static constexpr std::uint32_t noText = ~std::uint32_t(0);

public:
    /// `releasable`: the file, when its statements and tokens may be released once read.
    /// `alsoReadToken`: called with each token as readTokens reads it (may be empty).
    Builder(const cobol::AdtFile &file,
            const ProgramModel &model,
            cobol::AdtFile *releasable,
            const ImpactRecorder::TokenReader &alsoReadToken = {})
        : m_file(file)
        , m_releasable(releasable)
        , m_data(file.data())
        , m_model(model)
        , m_alsoReadToken(alsoReadToken)
    {}

    ImpactRecorder::PackedFacts build()
    {
        m_facts.program = upper(m_data.programName);
        m_facts.files = m_model.files;
        for (std::uint32_t a = 0; a < m_model.areas.size(); ++a) {
            m_facts.areaSizes.push_back(m_model.areas[a].size);
            for (const StorageArea::Occurs &o : m_model.areas[a].occurs)
                m_facts.occurs.push_back({a, o.offset, o.stride, o.count});
        }
        buildItems();
        buildStatements();
        if (m_releasable)
            m_releasable->releaseStatements();
        // The statements' records are made once the file's statements are gone (their texts
        // are read with the tokens).
        m_facts.statements.reserve(m_statementPlaces.size());
        for (const PlaceKey &place : m_statementPlaces)
            m_facts.statements.push_back(
                {std::get<0>(place), std::get<1>(place), std::get<2>(place), {}});
        std::vector<PlaceKey>().swap(m_statementPlaces);
        readTokens();
        if (m_releasable)
            m_releasable->releaseTokens();
        buildFlows();
        buildCopybookSpans();
        return {std::move(m_facts), std::move(m_accesses), std::move(m_flows)};
    }

private:
    /// The bytes of a front-end item (a condition name: its conditional variable).
    Range itemRange(std::uint32_t id, int depth = 0) const
    {
        const cobol::DataItem *item = m_data.item(id);
        if (!item || id > m_model.items.size())
            return {};
        if (item->level == 88 && depth == 0)
            return itemRange(item->parent, 1);
        const DataItem &m = m_model.items[id - 1];
        return {m.area, m.offset, m.length};
    }

    void buildItems()
    {
        for (const cobol::DataItem &item : m_data.items)
            m_facts.items.push_back(itemRange(item.id));
    }

    /// The bytes a model operand refers to: its constant reference modification, else the item.
    Range operandRange(const Operand &operand) const
    {
        if (!operand.isItem() || operand.item >= m_model.items.size())
            return {};
        const DataItem &item = m_model.items[operand.item];
        Range r{item.area, item.offset, item.length};
        if (operand.refStart > 0 && !operand.variableRefMod) {
            const std::uint32_t start = std::min(operand.refStart - 1, item.length);
            const std::uint32_t left = item.length - start;
            r.offset += start;
            r.length = operand.refLength ? std::min(operand.refLength, left) : left;
        }
        return r;
    }

    Range operandRange(const cobol::Operand &operand) const
    {
        if (operand.kind != cobol::OperandKind::Item)
            return {};
        Range r = itemRange(operand.item);
        if (operand.refMod == cobol::RefMod::Constant && operand.refOffset > 0) {
            const std::uint32_t start = std::min(operand.refOffset - 1, r.length);
            const std::uint32_t left = r.length - start;
            r.offset += start;
            r.length = operand.refLength ? std::min(operand.refLength, left) : left;
        }
        return r;
    }

    static DbImpactFacts::Mode modeOf(cobol::OperandRole role, cobol::StatementKind kind)
    {
        switch (role) {
        case cobol::OperandRole::Target:
        case cobol::OperandRole::Remainder:
            return DbImpactFacts::write;
        case cobol::OperandRole::Both:
            return DbImpactFacts::readWrite;
        case cobol::OperandRole::Argument:
            // A CALL may change what it is given; an EXEC argument's direction is unknown.
            return DbImpactFacts::readWrite;
        case cobol::OperandRole::Counter:
            return kind == cobol::StatementKind::PerformVarying ? DbImpactFacts::readWrite
                                                                : DbImpactFacts::read;
        case cobol::OperandRole::Source:
        case cobol::OperandRole::Compared:
        case cobol::OperandRole::Procedure:
        case cobol::OperandRole::Column:
            return DbImpactFacts::read;
        }
        return DbImpactFacts::read;
    }

    void access(std::uint32_t statement, const Range &range, DbImpactFacts::Mode mode)
    {
        if (range.length > 0)
            m_accesses.add({statement, range, mode});
    }

    /// One pass over the statements: their facts, accesses, boundaries and CALLs; what needs
    /// the tokens (texts, CALL arguments in token order) is asked for and read by readTokens.
    void buildStatements()
    {
        const std::uint32_t count = m_file.statementCount();
        // Facts of one source statement share its group, or at least its first token (the
        // counter and the condition of PERFORM VARYING ... UNTIL are two groups).
        FirstValues ofGroup; // first fact id -> statement
        FirstValues ofToken; // first token -> statement
        ofGroup.reserve(count);
        ofToken.reserve(count);
        m_places.reserve(count);
        m_texts.reserve(count);
        m_textStatement.reserve(count);
        m_statementPlaces.reserve(count);
        m_file.forEachStatement([&](const cobol::Statement &s) {
            m_texts.addStatementStart(s.firstToken);
            const std::uint32_t group = s.group ? s.group : s.id;
            std::uint32_t index = ofGroup.find(group);
            if (index == FirstValues::none && s.firstToken)
                index = ofToken.find(s.firstToken);
            if (index == FirstValues::none)
                index = static_cast<std::uint32_t>(m_statementPlaces.size());
            ofGroup.tryEmplace(group, index);
            if (s.firstToken)
                ofToken.tryEmplace(s.firstToken, index);
            if (index == m_statementPlaces.size()) {
                m_statementPlaces.emplace_back(s.place.include, s.place.line, s.place.column);
                m_textOwner.push_back(noText);
            }
            // The longest text of the statement's facts is the whole statement (the first of
            // equal ones).
            m_textStatement.push_back(index);
            m_texts.add(s.firstToken, s.lastToken, s.verb);
            m_places.push_back({{s.place.include, s.place.line, s.place.column}, index});
            for (const cobol::Operand &op : s.operands) {
                if (op.role != cobol::OperandRole::Column)
                    access(index, operandRange(op), modeOf(op.role, s.kind));
                for (const cobol::Subscript &sub : op.subscripts)
                    access(index, itemRange(sub.item), DbImpactFacts::read);
            }
            addBoundaries(s, index);
            if (s.kind == cobol::StatementKind::Call)
                addCall(s, index);
        });
        // The first statement at a place is the one flows find there.
        // Statements come mostly in the order of their places: often nothing is to be sorted.
        const auto byPlace = [](const auto &a, const auto &b) { return a.first < b.first; };
        if (!std::is_sorted(m_places.begin(), m_places.end(), byPlace))
            std::stable_sort(m_places.begin(), m_places.end(), byPlace);
        m_places.erase(std::unique(m_places.begin(),
                                   m_places.end(),
                                   [](const auto &a, const auto &b) { return a.first == b.first; }),
                       m_places.end());
        m_places.shrink_to_fit();
    }

    /// A text made by m_texts: kept when it is the longest of its statement so far.
    void takeText(std::uint32_t text, std::string &&value)
    {
        const std::uint32_t index = m_textStatement[text];
        std::uint32_t &owner = m_textOwner[index];
        std::string &current = m_facts.statements[index].text;
        if (owner == noText || value.size() > current.size()
            || (value.size() == current.size() && text < owner)) {
            current = std::move(value);
            owner = text;
        }
    }

    void addBoundaries(const cobol::Statement &s, std::uint32_t index)
    {
        std::string reason;
        if (s.kind == cobol::StatementKind::String || s.kind == cobol::StatementKind::Unstring)
            reason = s.verb + ": the flow between its operands is not followed";
        else if (s.kind == cobol::StatementKind::Exec
                 && (s.detail == "CICS LINK" || s.detail == "CICS XCTL"
                     || s.detail == "CICS RETURN"))
            reason = "EXEC " + s.detail
                     + ": the COMMAREA is passed to a program by CICS, "
                       "which the analysis does not follow";
        if (reason.empty())
            return;
        for (const cobol::Operand &op : s.operands) {
            const bool commarea = s.kind != cobol::StatementKind::Exec || op.option == "COMMAREA";
            const Range range = operandRange(op);
            if (commarea && range.length > 0)
                m_facts.boundaries.push_back({index, range, reason});
        }
    }

    /// A CALL's arguments by position: OMITTED takes a position with no storage. Its target
    /// and its arguments in token order are found by readTokens.
    void addCall(const cobol::Statement &s, std::uint32_t index)
    {
        PendingCall pending;
        pending.call = static_cast<std::uint32_t>(m_facts.calls.size());
        pending.first = s.firstToken;
        pending.last = std::min(s.lastToken, m_file.tokenCount());
        pending.detail = s.detail;
        // Places of the argument operands, first one at a place.
        for (const cobol::Operand &op : s.operands) {
            if (op.role != cobol::OperandRole::Argument)
                continue;
            const PlaceKey key{op.place.include, op.place.line, op.place.column};
            if (std::none_of(pending.starts.begin(), pending.starts.end(), [&](const auto &start) {
                    return start.first == key;
                }))
                pending.starts.emplace_back(key, operandRange(op));
        }
        m_facts.calls.push_back({index, {}, {}, {}});
        m_pendingCalls.push_back(std::move(pending));
    }

    /// A CALL reads token `t`: whether its program is a literal, its OMITTED words and where
    /// its arguments start.
    void readCallToken(PendingCall &pending,
                       std::uint32_t t,
                       const cobol::AdtFile::TokenView &token)
    {
        if (pending.first >= 1 && t == pending.first + 1)
            pending.literal = token.kind == cobol::TokenKind::Literal;
        if (t < std::max<std::uint32_t>(pending.first, 1) || t > pending.last)
            return;
        std::vector<Range> &arguments = m_facts.calls[pending.call].arguments;
        if (StatementTexts::equalsUpper(token.text, "OMITTED"))
            arguments.push_back(Range{});
        const PlaceKey key{token.place.include, token.place.line, token.place.column};
        const auto found = std::find_if(pending.starts.begin(),
                                        pending.starts.end(),
                                        [&](const auto &start) { return start.first == key; });
        if (found != pending.starts.end()) {
            arguments.push_back(found->second);
            pending.starts.erase(found);
        }
    }

    static void finishCall(DbImpactFacts::Call &call, const PendingCall &pending)
    {
        if (pending.literal)
            call.target = upper(pending.detail);
        else
            call.nameItem = pending.detail.empty() ? std::string("?") : pending.detail;
    }

    /// PROCEDURE DIVISION USING a b c: the data names up to the period (or RETURNING).
    void readParameterToken(const cobol::AdtFile::TokenView &token)
    {
        switch (m_parameters) {
        case ParameterState::Seeking:
            if (m_division) {
                m_parameters = StatementTexts::equalsUpper(token.text, "USING")
                                   ? ParameterState::Reading
                                   : ParameterState::Done;
                return;
            }
            m_division = m_procedure && StatementTexts::equalsUpper(token.text, "DIVISION");
            m_procedure = StatementTexts::equalsUpper(token.text, "PROCEDURE");
            return;
        case ParameterState::Reading:
            break;
        case ParameterState::Done:
            return;
        }
        if (token.text == "." || StatementTexts::equalsUpper(token.text, "RETURNING")) {
            m_parameters = ParameterState::Done;
            return;
        }
        if (StatementTexts::equalsUpper(token.text, "OF")
            || StatementTexts::equalsUpper(token.text, "IN")) {
            m_qualifier = true;
            return;
        }
        if (token.role != cobol::TokenRole::DataReference || token.item == 0)
            return;
        if (!m_qualifier)
            m_facts.parameters.push_back(itemRange(token.item));
        m_qualifier = false;
    }

    /// One pass over the tokens: the statements' texts, the CALLs' targets and arguments, the
    /// PROCEDURE DIVISION USING parameters.
    void readTokens()
    {
        std::vector<std::uint32_t> callOrder(m_pendingCalls.size());
        for (std::uint32_t c = 0; c < callOrder.size(); ++c)
            callOrder[c] = c;
        const auto from = [this](std::uint32_t c) {
            return std::max<std::uint32_t>(m_pendingCalls[c].first, 1);
        };
        std::stable_sort(callOrder.begin(), callOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
            return from(a) < from(b);
        });
        std::size_t nextCall = 0;
        std::vector<std::uint32_t> openCalls;
        std::uint32_t t = 0;
        for (cobol::AdtFile::TokenReader reader = m_file.tokens(); reader.next();) {
            const cobol::AdtFile::TokenView &token = reader.token();
            ++t;
            m_texts.take(token);
            readParameterToken(token);
            if (m_alsoReadToken)
                m_alsoReadToken(token);
            for (; nextCall < callOrder.size() && from(callOrder[nextCall]) <= t; ++nextCall)
                openCalls.push_back(callOrder[nextCall]);
            for (std::size_t i = 0; i < openCalls.size();) {
                PendingCall &pending = m_pendingCalls[openCalls[i]];
                readCallToken(pending, t, token);
                if (t >= std::max(pending.last, pending.first + 1)) {
                    openCalls[i] = openCalls.back();
                    openCalls.pop_back();
                } else {
                    ++i;
                }
            }
        }
        m_texts.finish();
        for (const PendingCall &pending : m_pendingCalls)
            finishCall(m_facts.calls[pending.call], pending);
        std::vector<PendingCall>().swap(m_pendingCalls);
        std::vector<std::uint32_t>().swap(m_textStatement);
        std::vector<std::uint32_t>().swap(m_textOwner);
    }

    std::uint32_t statementOf(const Statement &s)
    {
        const PlaceKey key{s.pos.file, s.pos.line, s.pos.column};
        // The model's statements come mostly in the order of their places: the place found
        // last, or the one after it, is usually the one sought.
        for (std::size_t at = m_lastPlace; at < m_places.size() && at <= m_lastPlace + 1; ++at)
            if (m_places[at].first == key) {
                m_lastPlace = at;
                return m_places[at].second;
            }
        const auto found = std::lower_bound(m_places.begin(),
                                            m_places.end(),
                                            key,
                                            [](const auto &entry, const PlaceKey &k) {
                                                return entry.first < k;
                                            });
        if (found != m_places.end() && found->first == key) {
            m_lastPlace = static_cast<std::size_t>(found - m_places.begin());
            return found->second;
        }
        if (const auto added = m_addedPlaces.find(key); added != m_addedPlaces.end())
            return added->second;
        // Facts of the data division (OCCURS DEPENDING ON) have no statement of their own.
        m_facts.statements.push_back({s.pos.file, s.pos.line, s.pos.column, s.text});
        const auto index = static_cast<std::uint32_t>(m_facts.statements.size() - 1);
        m_addedPlaces.emplace(key, index);
        return index;
    }

    bool byteForByte(const Operand &a, const Operand &b) const
    {
        const auto textual = [&](const Operand &op) {
            const DataItem &item = m_model.items[op.item];
            return op.refStart > 0 || item.category == ItemCategory::Group
                   || item.category == ItemCategory::Alphanumeric
                   || item.category == ItemCategory::Other;
        };
        return textual(a) || textual(b);
    }

    /// Two DISPLAY numbers line up digit by digit on the decimal point: byte k of `a` is byte
    /// k + shift of `b`.
    bool decimalAligned(const Operand &a, const Operand &b, std::int32_t &shift) const
    {
        const DataItem &x = m_model.items[a.item];
        const DataItem &y = m_model.items[b.item];
        if (x.category != ItemCategory::NumericDisplay
            || y.category != ItemCategory::NumericDisplay)
            return false;
        const std::int64_t integerX = static_cast<std::int64_t>(x.digits) - x.scale
                                      + (x.leadingSignByte ? 1 : 0);
        const std::int64_t integerY = static_cast<std::int64_t>(y.digits) - y.scale
                                      + (y.leadingSignByte ? 1 : 0);
        shift = static_cast<std::int32_t>(integerY - integerX);
        return true;
    }

    void flow(std::uint32_t statement,
              DbImpactFacts::FlowKind kind,
              const Operand &a,
              const Operand &b)
    {
        if (!a.isItem() || !b.isItem() || a.item >= m_model.items.size()
            || b.item >= m_model.items.size())
            return;
        const Range from = operandRange(a);
        const Range to = operandRange(b);
        if (from.length == 0 || to.length == 0 || from == to)
            return;
        std::int32_t shift = 0;
        if (kind == DbImpactFacts::FlowKind::aligned && !byteForByte(a, b)
            && !decimalAligned(a, b, shift))
            kind = DbImpactFacts::FlowKind::whole;
        m_flows.add(DbImpactFacts::Flow{statement, kind, from, to, shift});
    }

    void buildFlows()
    {
        for (const Statement &s : m_model.statements) {
            switch (s.kind) {
            case StatementKind::Move:
                for (std::size_t i = 1; i < s.operands.size(); ++i)
                    flow(statementOf(s),
                         DbImpactFacts::FlowKind::aligned,
                         s.operands[0],
                         s.operands[i]);
                break;
            case StatementKind::Compare:
                if (s.operands.size() == 2)
                    flow(statementOf(s),
                         DbImpactFacts::FlowKind::aligned,
                         s.operands[0],
                         s.operands[1]);
                break;
            case StatementKind::Arithmetic:
                for (const Term &term : s.terms)
                    for (const Operand &result : s.operands)
                        if (term.operand.item != result.item)
                            flow(statementOf(s),
                                 DbImpactFacts::FlowKind::forward,
                                 term.operand,
                                 result);
                break;
            case StatementKind::AcceptDate:
            case StatementKind::NonYearUse:
            case StatementKind::YearUse:
            case StatementKind::Other:
                break;
            }
        }
    }

    /// Where the program's storage holds copybook bytes: each elementary item declared in a
    /// copybook, runs of neighbours joined.
    void buildCopybookSpans()
    {
        for (const DataItem &item : m_model.items) {
            if (!item.elementary || item.synthetic || item.length == 0
                || item.include >= m_model.includes.size() || item.canonicalOffset == noIndex)
                continue;
            const std::string &copybook = m_model.includes[item.include].copybook;
            if (!m_facts.copybookSpans.empty()) {
                DbImpactFacts::CopybookSpan &last = m_facts.copybookSpans.back();
                if (last.copybook == copybook && last.range.area == item.area
                    && last.range.offset + last.range.length == item.offset
                    && last.canonical + last.range.length == item.canonicalOffset) {
                    last.range.length += item.length;
                    continue;
                }
            }
            m_facts.copybookSpans.push_back(
                {{item.area, item.offset, item.length}, copybook, item.canonicalOffset});
        }
    }

    const cobol::AdtFile &m_file;
    cobol::AdtFile *m_releasable = nullptr;
    const cobol::AnalysisData &m_data;
    const ProgramModel &m_model;
    const ImpactRecorder::TokenReader &m_alsoReadToken;
    DbImpactFacts m_facts;
    /// The accesses and the flows, packed as they are found: a large program has hundreds of
    /// thousands, collected while the analysis data file is still in memory.
    DbImpactFacts::PackedRecords m_accesses;
    DbImpactFacts::PackedRecords m_flows;
    StatementTexts m_texts{m_file.tokenCount(), [this](std::uint32_t text, std::string &&value) {
                               takeText(text, std::move(value));
                           }};
    std::vector<std::uint32_t> m_textStatement; ///< per text: its statement fact
    std::vector<std::uint32_t> m_textOwner;     ///< per statement fact: the text it holds
    /// Per statement record, its place, while the file's statements are read: the records
    /// themselves (with room for a text) are made once those are released.
    std::vector<PlaceKey> m_statementPlaces;
    std::vector<std::pair<PlaceKey, std::uint32_t>> m_places; ///< sorted: place -> statement
    std::size_t m_lastPlace = 0; ///< where statementOf found the place it was last asked for
    std::map<PlaceKey, std::uint32_t> m_addedPlaces; ///< statements of data division facts
    std::vector<PendingCall> m_pendingCalls;
    ParameterState m_parameters = ParameterState::Seeking;
    bool m_procedure = false; ///< the token before is PROCEDURE
    bool m_division = false;  ///< the tokens before are PROCEDURE DIVISION
    bool m_qualifier = false;
};

} // namespace

DbImpactFacts ImpactRecorder::build(const cobol::AdtFile &file, const ProgramModel &model)
{
    PackedFacts packed = Builder(file, model, nullptr).build();
    packed.accesses.moveTo(packed.facts.accesses);
    packed.flows.moveTo(packed.facts.flows);
    return std::move(packed.facts);
}

ImpactRecorder::PackedFacts ImpactRecorder::buildReleasingInput(cobol::AdtFile &file,
                                                                const ProgramModel &model,
                                                                const TokenReader &alsoReadToken)
{
    return Builder(file, model, &file, alsoReadToken).build();
}

} // namespace kelmkpu
