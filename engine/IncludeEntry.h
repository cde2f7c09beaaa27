#pragma once

#include "KindInterval.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CopybookEntry;
class ProgramInfo;

/// What is known about one copybook as included with one include qualifier: its runs, in
/// ascending index and never overlapping, and which program's analysis changed it last.
class IncludeEntry final
{
public:
    /// An entry of `owner` (whose name its seed block carries); `owner` must outlive it.
    IncludeEntry(const CopybookEntry &owner, std::string qualifier);

    const CopybookEntry &owner() const { return *m_owner; }
    const std::string &qualifier() const { return m_qualifier; }
    const std::vector<KindInterval> &intervals() const { return m_intervals; }

    /// True when an analysis has changed the entry since the change was last taken note of.
    /// The mark outlives the program that made it: a removed program's change stays news for
    /// every other program.
    bool hasChangeMark() const { return m_changeMarked; }
    /// True when the change mark was made by `program`.
    bool isChangedBy(const ProgramInfo &program) const;
    /// Marks the entry as changed by `program` (none: changed, by no program still alive).
    void setChangedBy(const ProgramInfo *program);
    void clearChangeMark();

    /// Writes the entry as one seed block:
    ///     "<SEED> <INCLUDE> " name " " qualifier
    ///     "  " tag " <index> " index " <length> " length      (one line per run)
    ///     "</SEED>" and an empty line
    void writeSeedBlock(std::ostream &out) const;

private:
    friend class SeedTable; // rebuilds the run list while merging

    const CopybookEntry *m_owner;
    std::string m_qualifier;
    std::vector<KindInterval> m_intervals;
    bool m_changeMarked = false;
    // A weak handle, so a program that goes away leaves nothing dangling behind.
    std::weak_ptr<const void> m_changedBy;
};
