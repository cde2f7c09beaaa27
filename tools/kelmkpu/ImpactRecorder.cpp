#include "ImpactRecorder.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "ProgramModel.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
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

class Builder
{
public:
    Builder(const cobol::AdtFile &file, const ProgramModel &model)
        : m_data(file.data())
        , m_model(model)
    {
        // The tokens' texts stay views into the file's bytes; statements are copied once.
        m_tokens.reserve(file.tokenCount());
        for (cobol::AdtFile::TokenReader reader = file.tokens(); reader.next();)
            m_tokens.push_back(reader.token());
        m_statements.reserve(file.statementCount());
        file.forEachStatement([this](const cobol::Statement &s) { m_statements.push_back(s); });
    }

    DbImpactFacts build()
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
        buildFlows();
        buildCopybookSpans();
        buildParameters();
        return std::move(m_facts);
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

    std::string statementText(const cobol::Statement &s) const
    {
        // The words as written: one blank where the source has any (or a line break).
        std::string text;
        std::size_t last = std::min<std::size_t>(s.lastToken, m_tokens.size());
        // A statement the parser ends early (SET X TO TRUE) takes the rest of its last line, up
        // to the next statement, period or scope word.
        while (last >= 1 && last < m_tokens.size()) {
            const cobol::AdtFile::TokenView &end = m_tokens[last - 1];
            const cobol::AdtFile::TokenView &next = m_tokens[last];
            const std::string word = upper(std::string(next.text));
            if (next.place.include != end.place.include || next.place.line != end.place.line
                || word == "." || word == "ELSE" || word == "WHEN" || word.starts_with("END-")
                || m_firstTokens.contains(static_cast<std::uint32_t>(last + 1)))
                break;
            ++last;
        }
        const cobol::AdtFile::TokenView *previous = nullptr;
        for (std::size_t t = std::max<std::size_t>(s.firstToken, 1); t <= last; ++t) {
            const cobol::AdtFile::TokenView &token = m_tokens[t - 1];
            if (token.text == "." && t == last)
                break;
            const bool adjacent = previous && previous->place.include == token.place.include
                                  && previous->place.line == token.place.line
                                  && previous->place.column + previous->length
                                         == token.place.column;
            if (previous && !adjacent)
                text += ' ';
            text += token.text;
            previous = &token;
            if (text.size() > DbImpactFacts::maxText) {
                text.resize(DbImpactFacts::maxText - 3);
                text += "...";
                break;
            }
        }
        return text.empty() ? s.verb : text;
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
            m_facts.accesses.push_back({statement, range, mode});
    }

    void buildStatements()
    {
        for (const cobol::Statement &s : m_statements)
            m_firstTokens.insert(s.firstToken);
        // Facts of one source statement share its group, or at least its first token (the
        // counter and the condition of PERFORM VARYING ... UNTIL are two groups).
        std::map<std::uint32_t, std::uint32_t> ofGroup; // first fact id -> statement
        std::map<std::uint32_t, std::uint32_t> ofToken; // first token -> statement
        for (const cobol::Statement &s : m_statements) {
            const std::uint32_t group = s.group ? s.group : s.id;
            std::uint32_t index = static_cast<std::uint32_t>(m_facts.statements.size());
            if (const auto found = ofGroup.find(group); found != ofGroup.end())
                index = found->second;
            else if (const auto same = ofToken.find(s.firstToken);
                     s.firstToken && same != ofToken.end())
                index = same->second;
            ofGroup.try_emplace(group, index);
            if (s.firstToken)
                ofToken.try_emplace(s.firstToken, index);
            if (index == m_facts.statements.size())
                m_facts.statements.push_back(
                    {s.place.include, s.place.line, s.place.column, statementText(s)});
            else if (statementText(s).size() > m_facts.statements[index].text.size())
                m_facts.statements[index].text = statementText(s); // the whole statement
            m_ofPlace.try_emplace({s.place.include, s.place.line, s.place.column}, index);
            for (const cobol::Operand &op : s.operands) {
                if (op.role != cobol::OperandRole::Column)
                    access(index, operandRange(op), modeOf(op.role, s.kind));
                for (const cobol::Subscript &sub : op.subscripts)
                    access(index, itemRange(sub.item), DbImpactFacts::read);
            }
            addBoundaries(s, index);
            if (s.kind == cobol::StatementKind::Call)
                addCall(s, index);
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

    /// A CALL's arguments by position: OMITTED takes a position with no storage.
    void addCall(const cobol::Statement &s, std::uint32_t index)
    {
        DbImpactFacts::Call call;
        call.statement = index;
        const std::size_t first = s.firstToken;
        const bool literal = first >= 1 && first < m_tokens.size()
                             && m_tokens[first].kind == cobol::TokenKind::Literal;
        if (literal)
            call.target = upper(s.detail);
        else
            call.nameItem = s.detail.empty() ? std::string("?") : s.detail;
        // Places of the argument operands and of OMITTED words, in token order.
        std::map<PlaceKey, const cobol::Operand *> starts;
        for (const cobol::Operand &op : s.operands)
            if (op.role == cobol::OperandRole::Argument)
                starts.try_emplace({op.place.include, op.place.line, op.place.column}, &op);
        const std::size_t last = std::min<std::size_t>(s.lastToken, m_tokens.size());
        std::vector<std::pair<std::size_t, const cobol::Operand *>> ordered;
        for (std::size_t t = std::max<std::size_t>(first, 1); t <= last; ++t) {
            const cobol::AdtFile::TokenView &token = m_tokens[t - 1];
            if (upper(std::string(token.text)) == "OMITTED")
                ordered.emplace_back(t, nullptr);
            const auto found = starts.find(
                {token.place.include, token.place.line, token.place.column});
            if (found != starts.end()) {
                ordered.emplace_back(t, found->second);
                starts.erase(found);
            }
        }
        for (const auto &[token, op] : ordered) {
            (void) token;
            call.arguments.push_back(op ? operandRange(*op) : Range{});
        }
        m_facts.calls.push_back(std::move(call));
    }

    std::uint32_t statementOf(const Statement &s)
    {
        const auto found = m_ofPlace.find({s.pos.file, s.pos.line, s.pos.column});
        if (found != m_ofPlace.end())
            return found->second;
        // Facts of the data division (OCCURS DEPENDING ON) have no statement of their own.
        m_facts.statements.push_back({s.pos.file, s.pos.line, s.pos.column, s.text});
        const auto index = static_cast<std::uint32_t>(m_facts.statements.size() - 1);
        m_ofPlace.emplace(PlaceKey{s.pos.file, s.pos.line, s.pos.column}, index);
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
        m_facts.flows.push_back({statement, kind, from, to, shift});
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

    /// PROCEDURE DIVISION USING a b c: the data names up to the period (or RETURNING).
    void buildParameters()
    {
        const std::vector<cobol::AdtFile::TokenView> &tokens = m_tokens;
        for (std::size_t t = 0; t + 2 < tokens.size(); ++t) {
            if (upper(std::string(tokens[t].text)) != "PROCEDURE"
                || upper(std::string(tokens[t + 1].text)) != "DIVISION")
                continue;
            if (upper(std::string(tokens[t + 2].text)) != "USING")
                return;
            bool qualifier = false;
            for (std::size_t u = t + 3; u < tokens.size(); ++u) {
                const std::string word = upper(std::string(tokens[u].text));
                if (word == "." || word == "RETURNING")
                    return;
                if (word == "OF" || word == "IN") {
                    qualifier = true;
                    continue;
                }
                if (tokens[u].role != cobol::TokenRole::DataReference || tokens[u].item == 0)
                    continue;
                if (!qualifier)
                    m_facts.parameters.push_back(itemRange(tokens[u].item));
                qualifier = false;
            }
            return;
        }
    }

    const cobol::AnalysisData &m_data;
    const ProgramModel &m_model;
    std::vector<cobol::AdtFile::TokenView> m_tokens;
    std::vector<cobol::Statement> m_statements;
    DbImpactFacts m_facts;
    std::map<PlaceKey, std::uint32_t> m_ofPlace;
    std::set<std::uint32_t> m_firstTokens; ///< first tokens of the statement facts
};

} // namespace

DbImpactFacts ImpactRecorder::build(const cobol::AdtFile &file, const ProgramModel &model)
{
    return Builder(file, model).build();
}

} // namespace kelmkpu
