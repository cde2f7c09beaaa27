#include "DateFieldAnalyzer.h"

#include "AffineSolver.h"
#include "DeclarationEvidence.h"
#include "EvidenceStore.h"
#include "NumericLayout.h"
#include "SeedFile.h"
#include "WindowFinder.h"

#include <algorithm>
#include <optional>

namespace kelmkpu {

namespace {

bool hasConstantRefMod(const Operand &operand)
{
    return operand.refStart > 0 && !operand.variableRefMod;
}

std::string runText(std::uint32_t first, std::uint32_t length)
{
    return std::to_string(first) + "-" + std::to_string(first + length - 1);
}

} // namespace

DateFieldAnalyzer::DateFieldAnalyzer(const ProgramModel &model)
    : m_model(model)
    , m_graph(model)
{}

DateFieldAnalyzer::~DateFieldAnalyzer() = default;

std::string DateFieldAnalyzer::validate(const ProgramModel &model)
{
    std::uint64_t total = 0;
    for (const StorageArea &area : model.areas)
        total += area.size;
    if (total > ByteGraph::maxBytes)
        return "the program's storage holds " + std::to_string(total) + " bytes; at most "
               + std::to_string(ByteGraph::maxBytes) + " can be analysed";
    if (model.files.empty())
        return "the analysis data names no source file";
    auto checkPos = [&](const SourcePos &pos, const std::string &what) -> std::string {
        if (pos.file >= model.files.size())
            return what + " refers to file number " + std::to_string(pos.file) + " of "
                   + std::to_string(model.files.size());
        return {};
    };
    for (std::size_t i = 0; i < model.items.size(); ++i) {
        const DataItem &item = model.items[i];
        const std::string what = "data item " + item.name; // few items: made for each
        if (item.area >= model.areas.size())
            return what + " lies in storage area " + std::to_string(item.area) + " of "
                   + std::to_string(model.areas.size());
        if (std::uint64_t(item.offset) + item.length > model.areas[item.area].size)
            return what + " (offset " + std::to_string(item.offset) + ", length "
                   + std::to_string(item.length) + ") lies outside its storage area of "
                   + std::to_string(model.areas[item.area].size) + " bytes";
        if (item.include != noIndex && item.include >= model.includes.size())
            return what + " belongs to include " + std::to_string(item.include) + " of "
                   + std::to_string(model.includes.size());
        if (std::string error = checkPos(item.declared, what); !error.empty())
            return error;
    }
    for (const Include &include : model.includes)
        if (include.file >= model.files.size())
            return "the include of " + include.copybook + " refers to file number "
                   + std::to_string(include.file) + " of " + std::to_string(model.files.size());
    for (const ModelNote &note : model.notes)
        if (std::string error = checkPos(note.pos, "note \"" + note.text + "\""); !error.empty())
            return error;
    for (std::size_t s = 0; s < model.statements.size(); ++s) {
        const Statement &statement = model.statements[s];
        // Many statements: the text naming one is made only when it is wrong.
        auto what = [&] {
            return "statement " + std::to_string(s + 1) + " (" + statement.text + ")";
        };
        if (statement.pos.file >= model.files.size())
            return checkPos(statement.pos, what());
        auto checkOperand = [&](const Operand &operand) -> std::string {
            if (operand.isItem() && operand.item >= model.items.size())
                return what() + " refers to data item " + std::to_string(operand.item) + " of "
                       + std::to_string(model.items.size());
            if (operand.pos.file >= model.files.size())
                return checkPos(operand.pos, what());
            return {};
        };
        for (const Operand &operand : statement.operands)
            if (std::string error = checkOperand(operand); !error.empty())
                return error;
        for (const Term &term : statement.terms)
            if (std::string error = checkOperand(term.operand); !error.empty())
                return error;
    }
    return {};
}

const std::vector<std::uint32_t> &DateFieldAnalyzer::nodesOf(const Operand &operand,
                                                             ByteGraph::ByteSelection selection,
                                                             std::vector<std::uint32_t> &out) const
{
    m_graph.operandNodes(m_model, operand, selection, out);
    return out;
}

std::uint32_t DateFieldAnalyzer::itemNode(const DataItem &item, std::uint64_t offset) const
{
    return m_graph.node(item.area, std::uint64_t(item.offset) + offset);
}

void DateFieldAnalyzer::uniteFlow(const Operand &from, const Operand &to, std::uint32_t statement)
{
    if (!from.isItem() || !to.isItem())
        return;
    const DataItem &sender = m_model.items[from.item];
    const DataItem &receiver = m_model.items[to.item];
    if (from.variableRefMod || to.variableRefMod)
        m_messages.push_back(
            {Severity::Note,
             m_model.statements[statement].pos,
             "reference modification with a variable position: the whole item is used ("
                 + m_model.statements[statement].text + ")"});
    const bool numeric = NumericLayout::isNumeric(sender) && NumericLayout::isNumeric(receiver)
                         && !hasConstantRefMod(from) && !hasConstantRefMod(to);
    if (!numeric) {
        const std::vector<std::uint32_t> &a = nodesOf(from,
                                                      ByteGraph::ByteSelection::All,
                                                      m_nodesA);
        const std::vector<std::uint32_t> &b = nodesOf(to, ByteGraph::ByteSelection::All, m_nodesB);
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            m_graph.unite(a[i], b[i], statement);
        return;
    }
    const std::span<const NumericLayout::Digit> ds = m_graph.digits(from.item);
    const std::span<const NumericLayout::Digit> dr = m_graph.digits(to.item);
    if (ds.empty() || dr.empty()) {
        // A binary item has no digit bytes: it is joined whole, and only with numbers small enough
        // to be a year, so that the year and month bytes of a date do not merge through it.
        const int wholeS = static_cast<int>(sender.digits) - sender.scale;
        const int wholeR = static_cast<int>(receiver.digits) - receiver.scale;
        if (wholeS > 4 || wholeR > 4) {
            m_messages.push_back(
                {Severity::Note,
                 m_model.statements[statement].pos,
                 "numeric move between a binary item and a number of more than four "
                 "digits: no byte mapping ("
                     + m_model.statements[statement].text + ")"});
            return;
        }
        const std::vector<std::uint32_t> &a = nodesOf(from,
                                                      ByteGraph::ByteSelection::Value,
                                                      m_nodesA);
        const std::vector<std::uint32_t> &b = nodesOf(to,
                                                      ByteGraph::ByteSelection::Value,
                                                      m_nodesB);
        if (a.empty())
            return;
        for (std::uint32_t n : a)
            m_graph.unite(a.front(), n, statement);
        for (std::uint32_t n : b)
            m_graph.unite(a.front(), n, statement);
        return;
    }
    // Both lists run from the most significant digit down: walk them together by power.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < ds.size() && j < dr.size()) {
        if (ds[i].power > dr[j].power) {
            ++i;
        } else if (ds[i].power < dr[j].power) {
            ++j;
        } else {
            m_graph.unite(m_graph.node(sender.area, std::uint64_t(sender.offset) + ds[i].byte),
                          m_graph.node(receiver.area, std::uint64_t(receiver.offset) + dr[j].byte),
                          statement);
            ++i;
            ++j;
        }
    }
}

void DateFieldAnalyzer::applySeeds(const SeedFile &seeds)
{
    for (std::uint32_t inc = 0; inc < m_model.includes.size(); ++inc) {
        const Include &include = m_model.includes[inc];
        const std::vector<SeedRun> *runs = seeds.runsFor(include.copybook, include.qualifier);
        if (!runs)
            continue;
        std::uint64_t extent = 0;
        for (std::uint32_t index : m_includeItems[inc]) {
            const DataItem &item = m_model.items[index];
            extent = std::max<std::uint64_t>(extent,
                                             std::uint64_t(item.canonicalOffset) + item.length);
        }
        for (const SeedRun &run : *runs) {
            const std::uint64_t lo = run.index - 1;
            const std::uint64_t hi = lo + run.length;
            if (hi > extent)
                m_messages.push_back({Severity::Warning,
                                      include.copiedAt,
                                      "seed run " + runText(run.index, run.length) + " of "
                                          + include.copybook + " " + include.qualifier
                                          + " reaches past the copybook's " + std::to_string(extent)
                                          + " bytes; the bytes beyond are ignored"});
            const std::string text = "seed " + std::string(kindTag(run.kind)) + " "
                                     + include.copybook + " bytes "
                                     + runText(run.index, run.length);
            for (std::uint32_t index : m_includeItems[inc]) {
                const DataItem &item = m_model.items[index];
                const std::uint64_t from = std::max<std::uint64_t>(lo, item.canonicalOffset);
                const std::uint64_t to = std::min<std::uint64_t>(hi,
                                                                 std::uint64_t(item.canonicalOffset)
                                                                     + item.length);
                for (std::uint64_t c = from; c < to; ++c)
                    m_evidence->add(itemNode(item, c - item.canonicalOffset),
                                    kindPolarity(run.kind),
                                    kindStrength(run.kind),
                                    item.declared,
                                    text);
            }
        }
    }
}

void DateFieldAnalyzer::applyDeclarations()
{
    for (const DataItem &item : m_model.items) {
        if (item.synthetic)
            continue;
        const DeclarationEvidence::Result match = DeclarationEvidence::classify(item);
        if (match.match != DeclarationEvidence::Match::Year)
            continue;
        const std::string text = "declaration of " + item.name
                                 + (item.picture.empty() ? "" : " PIC " + item.picture);
        for (std::uint32_t offset : match.yearBytes)
            m_evidence->add(m_graph.node(item.area, std::uint64_t(item.offset) + offset),
                            PolarityYear,
                            Strength::Always,
                            item.declared,
                            text);
    }
}

void DateFieldAnalyzer::applyStatementEvidence()
{
    for (const Statement &statement : m_model.statements) {
        switch (statement.kind) {
        case StatementKind::AcceptDate: {
            if (statement.operands.empty())
                break;
            const std::vector<std::uint32_t> &nodes = nodesOf(statement.operands.front(),
                                                              ByteGraph::ByteSelection::Value,
                                                              m_nodesA);
            const bool fourDigits = statement.acceptForm == AcceptForm::DateYyyymmdd
                                    || statement.acceptForm == AcceptForm::DayYyyyddd;
            const std::size_t count = std::min<std::size_t>(nodes.size(), fourDigits ? 4 : 2);
            for (std::size_t i = 0; i < count; ++i)
                m_evidence->add(nodes[i],
                                PolarityYear,
                                Strength::Used,
                                statement.pos,
                                statement.text);
            break;
        }
        case StatementKind::YearUse:
            for (const Operand &operand : statement.operands) {
                const std::vector<std::uint32_t> &nodes = nodesOf(operand,
                                                                  ByteGraph::ByteSelection::Value,
                                                                  m_nodesA);
                const std::size_t count = std::min<std::size_t>(nodes.size(), statement.yearDigits);
                for (std::size_t i = 0; i < count; ++i)
                    m_evidence->add(nodes[i],
                                    PolarityYear,
                                    Strength::Used,
                                    statement.pos,
                                    statement.text);
            }
            break;
        case StatementKind::NonYearUse:
            for (const Operand &operand : statement.operands)
                for (std::uint32_t node :
                     nodesOf(operand, ByteGraph::ByteSelection::Value, m_nodesA))
                    m_evidence->add(node,
                                    PolarityNonYear,
                                    Strength::Used,
                                    statement.pos,
                                    statement.text);
            break;
        case StatementKind::Move:
        case StatementKind::Compare:
        case StatementKind::Arithmetic:
        case StatementKind::Other:
            break;
        }
    }
}

void DateFieldAnalyzer::collectFields(AnalysisResult &result)
{
    for (std::uint32_t index = 0; index < m_model.items.size(); ++index) {
        const DataItem &item = m_model.items[index];
        if (!item.elementary)
            continue;
        std::optional<DateKind> open;
        std::uint32_t openAt = 0;
        for (std::uint32_t i = 0; i <= item.length; ++i) {
            std::optional<DateKind> kind;
            if (i < item.length) {
                const std::uint32_t node = itemNode(item, i);
                const std::uint8_t polarity = m_evidence->classPolarity(node);
                if (polarity != PolarityNone)
                    kind = kindOf(polarity,
                                  m_evidence->ownAlways(node) ? Strength::Always : Strength::Used);
            }
            if (kind == open)
                continue;
            if (open)
                result.fields.push_back({index, *open, openAt + 1, i - openAt});
            open = kind;
            openAt = i;
        }
    }
}

void DateFieldAnalyzer::collectIncludes(AnalysisResult &result)
{
    // Per (copybook, qualifier), in the order of first inclusion: each canonical byte joins what
    // every COPY with that key shows; runs end where an elementary item starts.
    struct Bytes
    {
        std::vector<std::uint8_t> polarity;
        std::vector<std::uint8_t> always;
        std::vector<std::uint8_t> itemStart;
    };
    std::vector<Bytes> bytes;
    for (std::uint32_t inc = 0; inc < m_model.includes.size(); ++inc) {
        const Include &include = m_model.includes[inc];
        std::size_t slot = 0;
        while (slot < result.includes.size()
               && (result.includes[slot].copybook != include.copybook
                   || result.includes[slot].qualifier != include.qualifier))
            ++slot;
        if (slot == result.includes.size()) {
            result.includes.push_back({include.copybook, include.qualifier, {}});
            bytes.emplace_back();
        }
        Bytes &b = bytes[slot];
        for (std::uint32_t index : m_includeItems[inc]) {
            const DataItem &item = m_model.items[index];
            const std::size_t end = std::size_t(item.canonicalOffset) + item.length;
            if (b.polarity.size() < end) {
                b.polarity.resize(end, PolarityNone);
                b.always.resize(end, 0);
                b.itemStart.resize(end, 0);
            }
            b.itemStart[item.canonicalOffset] = 1;
            for (std::uint32_t i = 0; i < item.length; ++i) {
                const std::uint32_t node = itemNode(item, i);
                b.polarity[item.canonicalOffset + i] |= m_evidence->classPolarity(node);
                if (node != noIndex && m_evidence->ownAlways(node))
                    b.always[item.canonicalOffset + i] = 1;
            }
        }
    }
    for (std::size_t slot = 0; slot < result.includes.size(); ++slot) {
        const Bytes &b = bytes[slot];
        std::vector<KindRun> &runs = result.includes[slot].runs;
        std::optional<DateKind> open;
        std::uint32_t openAt = 0;
        const auto size = static_cast<std::uint32_t>(b.polarity.size());
        for (std::uint32_t c = 0; c <= size; ++c) {
            std::optional<DateKind> kind;
            if (c < size && b.polarity[c] != PolarityNone)
                kind = kindOf(b.polarity[c], b.always[c] ? Strength::Always : Strength::Used);
            if (kind == open && (c == size || !b.itemStart[c]))
                continue;
            if (open)
                runs.push_back({*open, openAt + 1, c - openAt});
            open = kind;
            openAt = c;
        }
    }
    std::erase_if(result.includes,
                  [](const IncludeResult &include) { return include.runs.empty(); });
}

void DateFieldAnalyzer::collectConflicts(AnalysisResult &result)
{
    // One conflict per item: the first conflicting class of an item is explained, and every
    // conflicting class it touches counts as reported, so items sharing them are not listed again.
    std::vector<std::uint8_t> reported(m_graph.nodeCount(), 0);
    for (std::uint32_t index = 0; index < m_model.items.size(); ++index) {
        const DataItem &item = m_model.items[index];
        if (!item.elementary)
            continue;
        std::uint32_t first = noIndex;
        for (std::uint32_t i = 0; i < item.length; ++i) {
            const std::uint32_t node = itemNode(item, i);
            if (node == noIndex || m_evidence->classPolarity(node) != PolarityBoth)
                continue;
            const std::uint32_t root = m_graph.find(node);
            if (reported[root])
                continue;
            reported[root] = 1;
            if (first == noIndex)
                first = node;
        }
        if (first == noIndex)
            continue;
        const EvidenceStore::Witness *year = m_evidence->yearWitness(first);
        const EvidenceStore::Witness *nonYear = m_evidence->nonYearWitness(first);
        Conflict conflict;
        conflict.item = index;
        conflict.yearWitness = year->text;
        conflict.nonYearWitness = nonYear->text;
        conflict.chain.push_back({year->pos, "year: " + year->text});
        for (std::uint32_t s : m_graph.path(year->node, nonYear->node))
            conflict.chain.push_back(
                {m_model.statements[s].pos, "joins: " + m_model.statements[s].text});
        conflict.chain.push_back({nonYear->pos, "non-year: " + nonYear->text});
        result.conflicts.push_back(std::move(conflict));
    }
}

void DateFieldAnalyzer::collectCandidates()
{
    for (const DataItem &item : m_model.items) {
        if (item.synthetic
            || DeclarationEvidence::classify(item).match != DeclarationEvidence::Match::Candidate)
            continue;
        bool known = false;
        for (std::uint32_t i = 0; i < item.length && !known; ++i)
            known = m_evidence->classPolarity(itemNode(item, i)) != PolarityNone;
        if (!known)
            m_messages.push_back(
                {Severity::Note,
                 item.declared,
                 "possible date field " + item.name
                     + ": the name suggests a date, but nothing shows where a year is"});
    }
}

AnalysisResult DateFieldAnalyzer::run(const SeedFile &seeds, Declarations declarations)
{
    // Classes first: evidence may only be attached once no two classes can merge any more.
    for (std::uint32_t s = 0; s < m_model.statements.size(); ++s) {
        const Statement &statement = m_model.statements[s];
        if (statement.kind == StatementKind::Move) {
            for (std::size_t r = 1; r < statement.operands.size(); ++r)
                uniteFlow(statement.operands.front(), statement.operands[r], s);
        } else if (statement.kind == StatementKind::Compare && statement.operands.size() >= 2) {
            uniteFlow(statement.operands[0], statement.operands[1], s);
        }
    }
    m_includeItems.assign(m_model.includes.size(), {});
    for (std::uint32_t i = 0; i < m_model.items.size(); ++i) {
        const DataItem &item = m_model.items[i];
        if (item.include != noIndex && item.elementary && item.canonicalOffset != noIndex
            && item.length > 0)
            m_includeItems[item.include].push_back(i);
    }
    m_evidence = std::make_unique<EvidenceStore>(m_graph);
    AffineSolver solver(m_model, m_graph, *m_evidence);
    applySeeds(seeds);
    if (declarations == Declarations::On)
        applyDeclarations();
    applyStatementEvidence();
    solver.solve();

    AnalysisResult result;
    collectFields(result);
    collectIncludes(result);
    collectConflicts(result);
    WindowFinder windowFinder(m_model, m_graph, *m_evidence);
    result.windows = windowFinder.windows();
    for (Message &message : solver.suspiciousSites())
        m_messages.push_back(std::move(message));
    for (Message &message : windowFinder.loggedStatements())
        m_messages.push_back(std::move(message));
    collectCandidates();
    for (const ModelNote &note : m_model.notes)
        m_messages.push_back({Severity::Note, note.pos, note.text});
    result.messages = std::move(m_messages);
    m_messages.clear();
    return result;
}

} // namespace kelmkpu
