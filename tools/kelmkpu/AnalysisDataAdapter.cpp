#include "AnalysisDataAdapter.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "ExecFactBuilder.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>

namespace kelmkpu {

namespace {

class Builder
{
public:
    using HasWord = ExecFactBuilder::HasWord;
    using Statements = std::function<void(const std::function<void(const cobol::Statement &)> &)>;

    /// `data` gives the program, items, includes and diagnostics; `statements` visits the
    /// statements in order; `hasWord` looks into a statement's tokens.
    Builder(const cobol::AnalysisData &data, ProgramModel &model, HasWord hasWord)
        : m_data(data)
        , m_model(model)
        , m_hasWord(hasWord)
        , m_exec(
              data,
              model,
              [this](const cobol::SourcePlace &place) { return pos(place); },
              [this](const cobol::Operand &in) { return operand(in); },
              std::move(hasWord))
    {}

    void build(const Statements &statements)
    {
        buildFiles();
        buildItems();
        m_used.assign(m_data.items.size() + 1, false);
        statements([this](const cobol::Statement &statement) {
            for (const cobol::Operand &op : statement.operands)
                if (op.kind == cobol::OperandKind::Item && op.item < m_used.size())
                    m_used[op.item] = true;
            addStatement(statement);
        });
        m_exec.finish([this](std::uint32_t item) { return item < m_used.size() && m_used[item]; });
        addOccursDependingOn();
        for (const cobol::Diagnostic &diagnostic : m_data.diagnostics)
            if (diagnostic.severity == cobol::Diagnostic::Severity::Error)
                m_model.notes.push_back(
                    {pos(diagnostic.place), "front end: " + diagnostic.message});
    }

private:
    SourcePos pos(const cobol::SourcePlace &place) const
    {
        const std::uint32_t file = place.include < m_model.files.size() ? place.include : 0;
        return {file, place.line, place.column};
    }

    void buildFiles()
    {
        for (const cobol::Include &include : m_data.includes)
            m_model.files.push_back(include.path);
        if (m_model.files.empty())
            m_model.files.push_back(m_data.sourcePath);
        if (!m_data.sourcePath.empty())
            m_model.files.front() = m_data.sourcePath;
        for (std::size_t i = 1; i < m_data.includes.size(); ++i) {
            const cobol::Include &include = m_data.includes[i];
            Include out;
            out.copybook = include.copybook;
            out.qualifier = include.qualifier;
            out.file = static_cast<std::uint32_t>(i);
            out.copiedAt = pos({include.parent, include.copyLine, include.copyColumn});
            m_model.includes.push_back(out);
        }
    }

    std::uint32_t areaFor(std::uint32_t storage)
    {
        auto [it, added] = m_areaOfStorage.try_emplace(storage,
                                                       static_cast<std::uint32_t>(
                                                           m_model.areas.size()));
        if (added) {
            const cobol::DataItem *first = m_data.item(storage);
            m_model.areas.push_back({first ? first->name : std::string("(no storage)"), 0, {}});
        }
        return it->second;
    }

    static ItemCategory category(const cobol::DataItem &item)
    {
        switch (item.category) {
        case cobol::Category::Group:
            return ItemCategory::Group;
        case cobol::Category::Numeric:
            switch (item.usage) {
            case cobol::Usage::Display:
                return ItemCategory::NumericDisplay;
            case cobol::Usage::Packed:
                return ItemCategory::NumericPacked;
            case cobol::Usage::Binary:
            case cobol::Usage::Comp5:
            case cobol::Usage::Comp1:
            case cobol::Usage::Comp2:
                return ItemCategory::NumericBinary;
            case cobol::Usage::Pointer:
            case cobol::Usage::Index:
            case cobol::Usage::National:
                return ItemCategory::Other;
            }
            return ItemCategory::Other;
        case cobol::Category::NumericEdited:
            return ItemCategory::NumericEdited;
        case cobol::Category::Float:
            return ItemCategory::NumericBinary;
        case cobol::Category::Alphabetic:
        case cobol::Category::Alphanumeric:
        case cobol::Category::AlphanumericEdited:
        case cobol::Category::National:
            return ItemCategory::Alphanumeric;
        case cobol::Category::Pointer:
        case cobol::Category::Index:
        case cobol::Category::Condition:
        case cobol::Category::Renames:
        case cobol::Category::Constant:
            return ItemCategory::Other;
        }
        return ItemCategory::Other;
    }

    void buildItems()
    {
        for (const cobol::DataItem &in : m_data.items) {
            DataItem item;
            item.name = in.name;
            item.declared = pos(in.place);
            const bool noStorage = in.length == 0 || in.category == cobol::Category::Condition
                                   || in.category == cobol::Category::Constant;
            item.area = areaFor(noStorage ? 0 : in.storage);
            if (!noStorage && in.offset + in.length <= 0xFFFFFFFFull) {
                item.offset = static_cast<std::uint32_t>(in.offset);
                item.length = static_cast<std::uint32_t>(in.length);
            }
            item.category = category(in);
            item.digits = static_cast<std::uint32_t>(std::max(0, in.digits));
            item.scale = in.scale;
            item.picture = in.picture;
            item.elementary = !noStorage && in.category != cobol::Category::Group
                              && in.category != cobol::Category::Renames;
            if (in.hasCanonical && in.declaredIn > 0 && in.declaredIn <= m_model.includes.size()
                && in.canonicalOffset <= 0xFFFFFFFFull) {
                item.include = in.declaredIn - 1;
                item.canonicalOffset = static_cast<std::uint32_t>(in.canonicalOffset);
                if (in.layoutVaries && m_layoutVariesNoted.insert(in.declaredIn).second)
                    m_model.notes.push_back(
                        {m_model.includes[item.include].copiedAt,
                         "LAYOUT-VARIES " + m_model.includes[item.include].copybook + " "
                             + m_model.includes[item.include].qualifier
                             + ": the copybook does not lay out on its own here; its bytes are "
                               "taken from this include"});
            }
            StorageArea &area = m_model.areas[item.area];
            area.size = std::max(area.size, item.offset + item.length);
            if (!noStorage && in.occursMax > 1 && in.stride > 0) {
                const std::uint64_t end = in.offset + in.stride * in.occursMax;
                if (end <= 0xFFFFFFFFull) {
                    area.occurs.push_back(
                        {item.offset, static_cast<std::uint32_t>(in.stride), in.occursMax});
                    area.size = std::max<std::uint32_t>(area.size, static_cast<std::uint32_t>(end));
                }
            }
            m_model.items.push_back(std::move(item));
        }
    }

    /// The model operand of a front-end item operand; a literal operand otherwise.
    Operand operand(const cobol::Operand &in) const
    {
        Operand out;
        out.pos = pos(in.place);
        if (in.kind != cobol::OperandKind::Item || in.item == 0 || in.item > m_model.items.size())
            return out;
        out.item = in.item - 1;
        if (in.refMod == cobol::RefMod::Constant && in.refOffset > 0) {
            out.refStart = in.refOffset;
            out.refLength = in.refLength;
        }
        out.variableRefMod = in.refMod == cobol::RefMod::Variable;
        return out;
    }

    /// Appends the operand as the statement texts show it: the item's name (with subscripts and
    /// reference modification), the literal, or FUNCTION and the function's name.
    void appendName(std::string &text, const cobol::Operand &in) const
    {
        if (in.kind == cobol::OperandKind::Function) {
            text.append("FUNCTION ").append(in.text);
            return;
        }
        if (in.kind != cobol::OperandKind::Item) {
            text.append(in.text);
            return;
        }
        const cobol::DataItem *item = m_data.item(in.item);
        text.append(item ? std::string_view(item->name) : std::string_view("?"));
        if (!in.subscripts.empty()) {
            text += '(';
            for (std::size_t i = 0; i < in.subscripts.size(); ++i) {
                const cobol::DataItem *sub = m_data.item(in.subscripts[i].item);
                if (i)
                    text += ' ';
                text.append(sub ? sub->name : in.subscripts[i].literal);
            }
            text += ')';
        }
        if (in.refMod == cobol::RefMod::Constant) {
            text += '(';
            text += std::to_string(in.refOffset);
            text += ':';
            if (in.refLength)
                text += std::to_string(in.refLength);
            text += ')';
        } else if (in.refMod == cobol::RefMod::Variable) {
            text += "(...)";
        }
    }

    std::string name(const cobol::Operand &in) const
    {
        std::string text;
        appendName(text, in);
        return text;
    }

    Statement &emit(StatementKind kind, const cobol::Statement &in, std::string text)
    {
        Statement out;
        out.kind = kind;
        out.pos = pos(in.place);
        out.text = std::move(text);
        m_model.statements.push_back(std::move(out));
        return m_model.statements.back();
    }

    void addSubscriptUses(const cobol::Statement &in)
    {
        for (const cobol::Operand &op : in.operands) {
            for (const cobol::Subscript &sub : op.subscripts) {
                if (sub.item == 0 || sub.item > m_model.items.size())
                    continue;
                const cobol::DataItem *item = m_data.item(sub.item);
                Statement &s = emit(StatementKind::NonYearUse,
                                    in,
                                    "subscript " + item->name + " in " + name(op));
                Operand use;
                use.item = sub.item - 1;
                use.pos = pos(op.place);
                s.operands.push_back(use);
            }
        }
    }

    void addFlow(const cobol::Statement &in)
    {
        const cobol::Operand *source = nullptr;
        std::vector<const cobol::Operand *> targets;
        for (const cobol::Operand &op : in.operands) {
            if (op.role == cobol::OperandRole::Source && !source)
                source = &op;
            else if (op.role == cobol::OperandRole::Target)
                targets.push_back(&op);
        }
        if (!source || targets.empty())
            return;
        std::string text;
        text.reserve(64);
        text.append(in.verb).append(" ");
        if (in.kind == cobol::StatementKind::Write) { // WRITE rec FROM x: x flows into rec
            appendName(text, *targets.front());
            text.append(" FROM ");
            appendName(text, *source);
        } else {
            appendName(text, *source);
            text += in.kind == cobol::StatementKind::Read ? " INTO" : " TO";
            for (const cobol::Operand *target : targets) {
                text += ' ';
                appendName(text, *target);
            }
        }
        if (source->kind == cobol::OperandKind::Function) {
            addCurrentDate(in, *source, targets, text);
            return;
        }
        Statement &s = emit(StatementKind::Move, in, text);
        s.operands.push_back(operand(*source));
        for (const cobol::Operand *target : targets)
            s.operands.push_back(operand(*target));
    }

    /// MOVE FUNCTION CURRENT-DATE [(s:l)] TO x: the year is characters 1-4 of the value.
    void addCurrentDate(const cobol::Statement &in,
                        const cobol::Operand &source,
                        const std::vector<const cobol::Operand *> &targets,
                        const std::string &text)
    {
        if (source.text != "CURRENT-DATE")
            return;
        const std::uint32_t start = source.refMod == cobol::RefMod::Constant && source.refOffset > 0
                                        ? source.refOffset
                                        : 1;
        const std::uint32_t last = source.refMod == cobol::RefMod::Constant && source.refLength > 0
                                       ? start + source.refLength - 1
                                       : 21;
        if (source.refMod == cobol::RefMod::Variable || start > 4)
            return;
        const std::uint32_t count = std::min<std::uint32_t>(4, last) - start + 1;
        for (const cobol::Operand *target : targets) {
            Operand use = operand(*target);
            if (!use.isItem() || use.variableRefMod)
                continue;
            use.refStart = use.refStart == 0 ? 1 : use.refStart;
            use.refLength = count;
            Statement &s = emit(StatementKind::YearUse, in, text);
            s.yearDigits = count;
            s.operands.push_back(use);
        }
    }

    void addCompare(const cobol::Statement &in)
    {
        std::vector<const cobol::Operand *> sides;
        for (const cobol::Operand &op : in.operands)
            if (op.role == cobol::OperandRole::Compared)
                sides.push_back(&op);
        if (sides.size() < 2)
            return;
        std::string text;
        text.reserve(64);
        text.append(in.verb).append(" ");
        appendName(text, *sides[0]);
        text.append(" ").append(in.detail).append(" ");
        appendName(text, *sides[1]);
        Statement &s = emit(StatementKind::Compare, in, std::move(text));
        s.operands = {operand(*sides[0]), operand(*sides[1])};
    }

    void addArithmetic(const cobol::Statement &in)
    {
        const bool multiplicative = in.kind == cobol::StatementKind::Multiply
                                    || in.kind == cobol::StatementKind::Divide;
        // ADD a TO b and SUBTRACT a FROM b add to their receivers; with GIVING, and in COMPUTE,
        // the receivers only take the result.
        const bool receiversAreTerms = (in.kind == cobol::StatementKind::Add
                                        || in.kind == cobol::StatementKind::Subtract)
                                       && !m_hasWord(in, "GIVING");
        Statement s;
        std::string results;
        std::string sum;
        for (const cobol::Operand &op : in.operands) {
            const bool target = op.role == cobol::OperandRole::Target
                                || op.role == cobol::OperandRole::Remainder;
            if (target) {
                s.operands.push_back(operand(op));
                if (!results.empty())
                    results += ' ';
                appendName(results, op);
            }
            if (op.role == cobol::OperandRole::Source || (target && receiversAreTerms)) {
                const int sign = op.sign < 0 && !target ? -1 : 1;
                s.terms.push_back({operand(op), sign, !(multiplicative || in.nonLinear)});
                sum += sum.empty() ? (sign < 0 ? "- " : "") : (sign < 0 ? " - " : " + ");
                appendName(sum, op);
            }
        }
        if (s.operands.empty())
            return;
        std::string text;
        text.reserve(in.verb.size() + results.size() + sum.size() + 4);
        text.append(in.verb).append(" ").append(results).append(" = ").append(sum);
        Statement &out = emit(StatementKind::Arithmetic, in, std::move(text));
        out.operands = std::move(s.operands);
        out.terms = std::move(s.terms);
    }

    std::string operandNames(const cobol::Statement &in) const
    {
        std::string text;
        for (const cobol::Operand &op : in.operands)
            text.append(text.empty() ? "" : " ").append(name(op));
        return text;
    }

    void addAccept(const cobol::Statement &in)
    {
        AcceptForm form;
        if (in.detail == "DATE")
            form = AcceptForm::Date;
        else if (in.detail == "DATE-YYYYMMDD")
            form = AcceptForm::DateYyyymmdd;
        else if (in.detail == "DAY")
            form = AcceptForm::Day;
        else if (in.detail == "DAY-YYYYDDD")
            form = AcceptForm::DayYyyyddd;
        else
            return;
        for (const cobol::Operand &op : in.operands) {
            if (op.role != cobol::OperandRole::Target || op.kind != cobol::OperandKind::Item)
                continue;
            Statement &s = emit(StatementKind::AcceptDate,
                                in,
                                "ACCEPT " + name(op) + " FROM " + in.detail);
            s.acceptForm = form;
            s.operands.push_back(operand(op));
        }
    }

    void addCounters(const cobol::Statement &in)
    {
        for (const cobol::Operand &op : in.operands) {
            if (op.role != cobol::OperandRole::Counter || op.kind != cobol::OperandKind::Item)
                continue;
            Statement &s = emit(StatementKind::NonYearUse, in, in.verb + " counter " + name(op));
            s.operands.push_back(operand(op));
        }
    }

    void addFunctionArguments(const cobol::Statement &in)
    {
        for (const cobol::Operand &op : in.operands) {
            if (op.kind != cobol::OperandKind::Item
                || (op.function != "INTEGER-OF-DATE" && op.function != "INTEGER-OF-DAY"))
                continue;
            Statement &s = emit(StatementKind::YearUse,
                                in,
                                "FUNCTION " + op.function + "(" + name(op) + ")");
            s.yearDigits = 4;
            s.operands.push_back(operand(op));
        }
    }

    void addCorresponding(const cobol::Statement &in)
    {
        const cobol::Operand *source = nullptr;
        for (const cobol::Operand &op : in.operands)
            if (op.role == cobol::OperandRole::Source && op.kind == cobol::OperandKind::Item)
                source = &op;
        if (!source)
            return;
        for (const cobol::Operand &op : in.operands) {
            if (op.role != cobol::OperandRole::Target || op.kind != cobol::OperandKind::Item)
                continue;
            std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
            matchChildren(source->item, op.item, pairs);
            for (auto [from, to] : pairs) {
                const bool add = in.kind != cobol::StatementKind::MoveCorresponding;
                Statement &s = emit(add ? StatementKind::Arithmetic : StatementKind::Move,
                                    in,
                                    in.verb + " CORRESPONDING " + m_data.item(from)->name + " TO "
                                        + m_data.item(to)->name);
                Operand a;
                a.item = from - 1;
                Operand b;
                b.item = to - 1;
                if (add) {
                    const int sign = in.kind == cobol::StatementKind::SubtractCorresponding ? -1
                                                                                            : 1;
                    s.operands = {b};
                    s.terms = {{b, 1, true}, {a, sign, true}};
                } else {
                    s.operands = {a, b};
                }
            }
        }
    }

    void matchChildren(std::uint32_t from,
                       std::uint32_t to,
                       std::vector<std::pair<std::uint32_t, std::uint32_t>> &pairs,
                       int depth = 0)
    {
        if (depth > 48)
            return;
        const auto &a = children(from);
        const auto &b = children(to);
        for (std::uint32_t x : a) {
            const cobol::DataItem *ix = m_data.item(x);
            if (!ix || ix->name == "FILLER" || ix->redefines || ix->occursMax > 0 || ix->level == 66
                || ix->level == 88)
                continue;
            for (std::uint32_t y : b) {
                const cobol::DataItem *iy = m_data.item(y);
                if (!iy || iy->name != ix->name || iy->redefines || iy->occursMax > 0)
                    continue;
                const bool groupX = ix->category == cobol::Category::Group;
                const bool groupY = iy->category == cobol::Category::Group;
                if (groupX && groupY)
                    matchChildren(x, y, pairs, depth + 1);
                else if (!groupX || !groupY)
                    pairs.emplace_back(x, y);
                break;
            }
        }
    }

    const std::vector<std::uint32_t> &children(std::uint32_t parent)
    {
        if (m_children.empty()) {
            m_children.resize(m_data.items.size() + 1);
            for (const cobol::DataItem &item : m_data.items)
                if (item.parent > 0 && item.parent <= m_data.items.size() && item.level != 88)
                    m_children[item.parent].push_back(item.id);
        }
        static const std::vector<std::uint32_t> none;
        return parent < m_children.size() ? m_children[parent] : none;
    }

    void addStatement(const cobol::Statement &in)
    {
        addSubscriptUses(in);
        addFunctionArguments(in);
        switch (in.kind) {
        case cobol::StatementKind::Move:
        case cobol::StatementKind::Read:
        case cobol::StatementKind::Write:
            addFlow(in);
            break;
        case cobol::StatementKind::MoveCorresponding:
        case cobol::StatementKind::AddCorresponding:
        case cobol::StatementKind::SubtractCorresponding:
            addCorresponding(in);
            break;
        case cobol::StatementKind::Compute:
        case cobol::StatementKind::Add:
        case cobol::StatementKind::Subtract:
        case cobol::StatementKind::Multiply:
        case cobol::StatementKind::Divide:
            addArithmetic(in);
            break;
        case cobol::StatementKind::Compare:
            addCompare(in);
            break;
        case cobol::StatementKind::Accept:
            addAccept(in);
            break;
        case cobol::StatementKind::PerformVarying:
        case cobol::StatementKind::PerformTimes:
            addCounters(in);
            break;
        case cobol::StatementKind::Call:
            emit(StatementKind::Other, in, "CALL " + in.detail);
            m_model.notes.push_back(
                {pos(in.place), "CALL " + in.detail + ": data passed to it leaves the analysis"});
            break;
        case cobol::StatementKind::String:
        case cobol::StatementKind::Unstring: {
            // No evidence, but a year among the operands is worth a note once the kinds are known.
            Statement &s = emit(StatementKind::Other,
                                in,
                                std::string(in.verb).append(" ").append(operandNames(in)));
            for (const cobol::Operand &op : in.operands)
                if (op.kind == cobol::OperandKind::Item)
                    s.operands.push_back(operand(op));
            break;
        }
        case cobol::StatementKind::Exec:
            m_exec.add(in);
            break;
        case cobol::StatementKind::Initialize:
        case cobol::StatementKind::Perform:
        case cobol::StatementKind::Set:
        case cobol::StatementKind::Other:
            break;
        }
    }

    void addOccursDependingOn()
    {
        for (const cobol::DataItem &item : m_data.items) {
            if (item.dependingOn == 0 || item.dependingOn > m_model.items.size())
                continue;
            Statement s;
            s.kind = StatementKind::NonYearUse;
            s.pos = pos(item.place);
            s.text = "OCCURS DEPENDING ON " + m_data.item(item.dependingOn)->name + " in "
                     + item.name;
            Operand use;
            use.item = item.dependingOn - 1;
            use.pos = s.pos;
            s.operands.push_back(use);
            m_model.statements.push_back(std::move(s));
        }
    }

    const cobol::AnalysisData &m_data;
    ProgramModel &m_model;
    std::map<std::uint32_t, std::uint32_t> m_areaOfStorage;
    std::set<std::uint32_t> m_layoutVariesNoted;
    std::vector<std::vector<std::uint32_t>> m_children;
    HasWord m_hasWord;
    std::vector<bool> m_used; ///< items named as an operand somewhere
    ExecFactBuilder m_exec;
};

} // namespace

ProgramModel AnalysisDataAdapter::toModel(const cobol::AnalysisData &data)
{
    ProgramModel model;
    Builder builder(data, model, [&data](const cobol::Statement &in, std::string_view word) {
        const std::size_t last = std::min<std::size_t>(in.lastToken, data.tokens.size());
        for (std::size_t id = std::max<std::size_t>(in.firstToken, 1); id <= last; ++id) {
            const std::string &text = data.tokens[id - 1].text;
            if (text.size() == word.size()
                && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
                       return std::toupper(static_cast<unsigned char>(a)) == b;
                   }))
                return true;
        }
        return false;
    });
    builder.build([&data](const std::function<void(const cobol::Statement &)> &visit) {
        for (const cobol::Statement &statement : data.statements)
            visit(statement);
    });
    return model;
}

ProgramModel AnalysisDataAdapter::toModel(const cobol::AdtFile &file)
{
    ProgramModel model;
    // Most statements give one fact, some a few more.
    model.statements.reserve(file.statementCount() + file.statementCount() / 2);
    Builder builder(file.data(), model, [&file](const cobol::Statement &in, std::string_view word) {
        return file.tokensHold(in.firstToken, in.lastToken, word);
    });
    builder.build([&file](const std::function<void(const cobol::Statement &)> &visit) {
        file.forEachStatement(visit);
    });
    return model;
}

} // namespace kelmkpu
