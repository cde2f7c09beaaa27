#pragma once

#include "KindInterval.h"
#include "XcompTrace.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CopybookEntry;
class IncludeEntry;
class ProgramInfo;

/// Per-copybook date-field knowledge learned during the analyses of a conversion run.
///
/// Each analysed program reports runs for the copybooks it includes; the table merges them byte
/// by byte (`combineKinds`), records which program changed an entry, and can be written out as
/// seed blocks so that the next analyses see the combined knowledge. One table per run owner:
/// the wizard and kelconv keep one for the process and never clear it. Not thread-safe: it is used
/// by the engine thread only.
class SeedTable final
{
public:
    /// An empty table tracing by `XcompTrace::startupSwitch()` to standard output.
    SeedTable() = default;
    /// An empty table writing its "XCOMP" lines through `trace`.
    explicit SeedTable(XcompTrace trace)
        : m_trace(trace)
    {}
    SeedTable(const SeedTable &) = delete;
    SeedTable &operator=(const SeedTable &) = delete;
    ~SeedTable();

    /// Reads one program-info file on behalf of `program` and merges what it reports; returns
    /// whether the table has changed since the seed blocks were last written. Lines are read at
    /// most 999 characters at a time; a file cut short, missing closing tags or holding garbage
    /// is read as far as it makes sense and never leaves the table inconsistent.
    /// Throws IAccessError("Kind did not parse correctly") on an unknown kind name; what was
    /// merged before it stays.
    bool readProgramInfo(ProgramInfo &program, std::istream &in);

    /// Adds copybook `name` to the program's list (creating the table's entry on first mention)
    /// unless it is there already.
    void addCopybook(ProgramInfo &program, const std::string &name);

    /// Merges `intervals` into the entry (copybook, qualifier) on behalf of `program`, creating
    /// the entry when new (a new entry always counts as a change). Does nothing when the copybook
    /// is not in the program's list.
    void mergeInclude(ProgramInfo &program,
                      const std::string &copybook,
                      const std::string &qualifier,
                      std::vector<KindInterval> intervals);

    /// Merges `incoming` into `entry`'s runs, recording a change for every run that brings new
    /// bytes or a new kind. `incoming` is normalised first (see KindIntervalList::normalise);
    /// runs are never joined. Linear in stored plus incoming runs for a well-formed list.
    void mergeIntervals(IncludeEntry &entry, std::vector<KindInterval> incoming);

    /// Records that the current program changed `entry`, traces the entry's runs as they are at
    /// this moment, and sets the table-changed flag.
    void markChanged(IncludeEntry &entry);

    /// When the table changed since the last call: writes every entry as a seed block (copybooks
    /// by name, entries by qualifier), clears the flag and returns true. Otherwise writes nothing
    /// and returns false.
    bool writeSeedEntries(std::ostream &out);

    /// True when another program changed one of `program`'s copybooks since it was last asked;
    /// marks made by `program` itself are cleared on the way.
    bool hasNewCopybookData(ProgramInfo &program);

    /// Number of copybooks in the program's list.
    std::size_t copybookCount(const ProgramInfo &program) const;

    bool tableChanged() const { return m_tableChanged; }

    /// Counts the seed blocks written with another text than before, one for each copybook
    /// whose entries' runs changed (a recorded change, or runs only split, which changes a
    /// block's text but not what it says) since the previous `writeSeedEntries`. Equal counts
    /// mean equal seed blocks written.
    std::uint64_t changeCount() const { return m_changeCount; }
    /// The change count right after the latest write that changed the seed blocks of copybook
    /// `name`; 0 when none did.
    std::uint64_t lastChange(const std::string &name) const;

    /// The copybook named `name`, or null.
    const CopybookEntry *copybook(const std::string &name) const;
    /// All copybooks, ordered by name.
    const std::map<std::string, std::shared_ptr<CopybookEntry>> &copybooks() const
    {
        return m_copybooks;
    }

    /// The program whose results are being merged; set during `readProgramInfo` and
    /// `mergeInclude`, null otherwise.
    const ProgramInfo *currentProgram() const { return m_currentProgram; }

    const XcompTrace &trace() const { return m_trace; }

    /// True when every entry's runs are ascending, non-overlapping and non-empty.
    bool isConsistent() const;

private:
    enum class TailRuns { MarkChanged, AlreadyMarked };

    class CurrentProgram;

    void merge(IncludeEntry &entry, std::vector<KindInterval> incoming, TailRuns tailRuns);
    /// Notes that `entry`'s runs changed: its seed block reads differently when next written.
    void noteRewritten(const IncludeEntry &entry);

    XcompTrace m_trace;
    std::map<std::string, std::shared_ptr<CopybookEntry>> m_copybooks;
    bool m_tableChanged = false;
    std::uint64_t m_changeCount = 0;
    std::map<std::string, std::uint64_t> m_lastChange; // copybook name -> change count
    std::set<std::string> m_rewritten; // copybooks whose runs changed since the last write
    const ProgramInfo *m_currentProgram = nullptr;
};
