#include "SeedTable.h"

#include "CopybookEntry.h"
#include "IncludeEntry.h"
#include "KindIntervalList.h"
#include "ProgramInfo.h"
#include "ProgramInfoReader.h"

#include <ostream>

/// Makes a program the table's current program for one scope.
class SeedTable::CurrentProgram final
{
public:
    CurrentProgram(SeedTable &table, const ProgramInfo &program)
        : m_table(table)
        , m_previous(table.m_currentProgram)
    {
        table.m_currentProgram = &program;
    }
    ~CurrentProgram() { m_table.m_currentProgram = m_previous; }
    CurrentProgram(const CurrentProgram &) = delete;
    CurrentProgram &operator=(const CurrentProgram &) = delete;

private:
    SeedTable &m_table;
    const ProgramInfo *m_previous;
};

namespace {

// One side of the merge: the current run of a list, whose start moves on as parts of it are
// consumed. Ends are inclusive and 64 bits wide so that no run end can overflow.
class RunCursor
{
public:
    explicit RunCursor(const std::vector<KindInterval> &runs)
        : m_runs(runs)
    {
        load();
    }

    bool present() const { return m_present; }
    void advance()
    {
        ++m_next;
        load();
    }

    DateFieldKind kind = DateFieldKind::AlwaysConflict;
    std::uint64_t start = 0;
    std::uint64_t end = 0;

private:
    void load()
    {
        m_present = m_next < m_runs.size();
        if (!m_present) {
            start = 0;
            return;
        }
        const KindInterval &run = m_runs[m_next];
        kind = run.kind;
        start = run.index;
        end = run.end();
    }

    const std::vector<KindInterval> &m_runs;
    std::size_t m_next = 0;
    bool m_present = false;
};

void append(std::vector<KindInterval> &runs,
            DateFieldKind kind,
            std::uint64_t start,
            std::uint64_t length)
{
    runs.push_back({kind, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length)});
}

} // namespace

SeedTable::~SeedTable() = default;

bool SeedTable::readProgramInfo(ProgramInfo &program, std::istream &in)
{
    const CurrentProgram current(*this, program);
    ProgramInfoReader(*this, program, in).read();
    return m_tableChanged;
}

void SeedTable::addCopybook(ProgramInfo &program, const std::string &name)
{
    if (program.includes(name))
        return;
    m_trace.line("XCOMP:  " + program.name() + " is add CopyBook " + name);
    std::shared_ptr<CopybookEntry> &entry = m_copybooks[name];
    if (!entry)
        entry = std::make_shared<CopybookEntry>(name);
    program.m_copybooks.emplace(name, entry);
}

void SeedTable::mergeInclude(ProgramInfo &program,
                             const std::string &copybook,
                             const std::string &qualifier,
                             std::vector<KindInterval> intervals)
{
    const auto found = program.m_copybooks.find(copybook);
    if (found == program.m_copybooks.end())
        return;
    const CurrentProgram current(*this, program);
    CopybookEntry &copybookEntry = *found->second;
    if (IncludeEntry *entry = copybookEntry.includeEntry(qualifier)) {
        m_trace.line("XCOMP:  Entry already exists  " + qualifier);
        merge(*entry, std::move(intervals), TailRuns::MarkChanged);
        return;
    }
    m_trace.line("XCOMP:  Adding new entry  " + qualifier);
    IncludeEntry &entry = copybookEntry.addIncludeEntry(qualifier);
    markChanged(entry);
    // The new entry is marked already; its runs need no further change records.
    merge(entry, std::move(intervals), TailRuns::AlreadyMarked);
}

void SeedTable::mergeIntervals(IncludeEntry &entry, std::vector<KindInterval> incoming)
{
    merge(entry, std::move(incoming), TailRuns::MarkChanged);
}

void SeedTable::merge(IncludeEntry &entry, std::vector<KindInterval> incoming, TailRuns tailRuns)
{
    KindIntervalList::normalise(incoming);
    std::vector<KindInterval> stored;
    stored.swap(entry.m_intervals);
    std::vector<KindInterval> &result = entry.m_intervals;
    result.reserve(stored.size() + incoming.size());

    RunCursor n(incoming);
    RunCursor s(stored);
    while (n.present() || s.present()) {
        if (n.present() && s.present()) {
            if (n.start < s.start) {
                // New bytes in front of a stored run.
                if (n.end < s.start) {
                    append(result, n.kind, n.start, n.end - n.start + 1);
                    n.advance();
                } else {
                    append(result, n.kind, n.start, s.start - n.start);
                    n.start = s.start;
                }
                markChanged(entry);
            } else if (s.start < n.start) {
                if (s.end >= n.start) {
                    append(result, s.kind, s.start, n.start - s.start);
                    s.start = n.start;
                } else {
                    append(result, s.kind, s.start, s.end - s.start + 1);
                    s.advance();
                }
            } else {
                const DateFieldKind kind = combineKinds(n.kind, s.kind);
                if (kind != s.kind)
                    markChanged(entry);
                if (s.end < n.end) {
                    append(result, kind, s.start, s.end - s.start + 1);
                    n.start = s.end + 1;
                    s.advance();
                } else if (n.end < s.end) {
                    append(result, kind, n.start, n.end - n.start + 1);
                    s.start = n.end + 1;
                    n.advance();
                } else {
                    append(result, kind, n.start, n.end - n.start + 1);
                    n.advance();
                    s.advance();
                }
            }
        } else if (n.present()) {
            // New bytes behind every stored run are new knowledge just like bytes in front.
            append(result, n.kind, n.start, n.end - n.start + 1);
            n.advance();
            if (tailRuns == TailRuns::MarkChanged)
                markChanged(entry);
        } else {
            append(result, s.kind, s.start, s.end - s.start + 1);
            s.advance();
        }
    }
    // A stored run split where an incoming one starts or ends is no change of what the table
    // knows, but it is a change of the seed block's text.
    if (result != stored)
        noteRewritten(entry);
}

void SeedTable::noteRewritten(const IncludeEntry &entry)
{
    m_rewritten.insert(entry.owner().name());
}

void SeedTable::markChanged(IncludeEntry &entry)
{
    entry.setChangedBy(m_currentProgram);
    noteRewritten(entry);
    if (m_trace.isOn()) {
        const std::string programName = m_currentProgram ? m_currentProgram->name() : std::string();
        m_trace.line("XCOMP:  " + entry.qualifier() + " changed by " + programName);
        for (const KindInterval &run : entry.intervals()) {
            m_trace.line("XCOMP:    " + std::string(kindTag(run.kind)) + " <index> "
                         + std::to_string(run.index) + " <length> " + std::to_string(run.length));
        }
        m_trace.line("");
    }
    m_tableChanged = true;
    m_trace.line("XCOMP:  Table Changed.");
}

bool SeedTable::writeSeedEntries(std::ostream &out)
{
    if (!m_tableChanged)
        return false;
    m_tableChanged = false;
    // From here on the seed blocks of these copybooks read differently.
    for (const std::string &name : m_rewritten)
        m_lastChange[name] = ++m_changeCount;
    m_rewritten.clear();
    m_trace.line("XCOMP:  Generating new seed file.");
    for (const auto &[name, copybook] : m_copybooks) {
        for (const auto &[qualifier, entry] : copybook->includeEntries())
            entry.writeSeedBlock(out);
    }
    return true;
}

bool SeedTable::hasNewCopybookData(ProgramInfo &program)
{
    m_trace.text("XCOMP:  Testing " + program.name() + " for new copybook data.");
    for (const auto &[name, copybook] : program.m_copybooks) {
        for (auto &[qualifier, entry] : copybook->includeEntries()) {
            if (!entry.hasChangeMark())
                continue;
            if (!entry.isChangedBy(program)) {
                m_trace.line("--> Has NEW data");
                return true;
            }
            entry.clearChangeMark();
        }
    }
    m_trace.line("--> Nothing new");
    return false;
}

std::size_t SeedTable::copybookCount(const ProgramInfo &program) const
{
    const std::size_t count = program.copybooks().size();
    m_trace.line("XCOMP:  " + program.name() + " has " + std::to_string(count) + " copybooks.");
    return count;
}

std::uint64_t SeedTable::lastChange(const std::string &name) const
{
    const auto found = m_lastChange.find(name);
    return found == m_lastChange.end() ? 0 : found->second;
}

const CopybookEntry *SeedTable::copybook(const std::string &name) const
{
    const auto found = m_copybooks.find(name);
    return found == m_copybooks.end() ? nullptr : found->second.get();
}

bool SeedTable::isConsistent() const
{
    for (const auto &[name, copybook] : m_copybooks) {
        for (const auto &[qualifier, entry] : copybook->includeEntries()) {
            if (!KindIntervalList::isWellFormed(entry.intervals()))
                return false;
        }
    }
    return true;
}
