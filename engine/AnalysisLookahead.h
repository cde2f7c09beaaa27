#pragma once

#include "ChildProcess.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

class ConversionFile;
class ProgramInfo;
class SeedTable;

/// The rules by which the analysis pass lets builder runs start before their turn, so that
/// several run at once while the pass still takes the files strictly in list order.
///
/// The pass takes ("commits") one file after the other exactly as a pass that runs one builder at
/// a time: it decides whether the file is analysed, merges its program-info file into the table
/// and rewrites the temporary seed file. A run started ahead read the temporary seed file as it
/// was then. The builder reads nothing of that file but the seed blocks of the copybooks the
/// program includes (the ones its program-info file names), so its result is the one the turn
/// would give as long as no entry of those copybooks has changed since it started; otherwise the
/// file runs again in its turn. Runs are started ahead only for files that certainly are analysed
/// in their turn, so a result that is not taken is always replaced by the one that is.
class AnalysisLookahead final
{
public:
    /// One builder run for a file that has not had its turn yet.
    struct Run
    {
        enum class Stage { None, Running, Ended };
        Stage stage = Stage::None;
        /// The table's change count when the run started.
        std::uint64_t stamp = 0;
        ChildProcess::Result result;
        /// The run's console text, kept with the file only when its turn takes the result.
        std::string report;
        /// The copybooks its program-info file names; none when it wrote none that can be read.
        std::optional<std::set<std::string>> copybooks;
    };

    /// True when the run made what a run in the file's turn would make: no entry of a copybook
    /// it depends on has changed since it started. `program`, when given, adds the copybooks
    /// the program is known to include; a run whose copybooks are unknown is current only while
    /// the table has not changed at all.
    static bool isCurrent(const Run &run, const SeedTable &table, const ProgramInfo *program);

    /// True when the file at `index` will certainly be analysed in its turn, the pass's next
    /// turn being that of `head` (at most `index`): it has no severe result and is not complete,
    /// and either it has never been analysed, or one of its copybooks carries a change mark of
    /// another program that no test before its turn can clear (only the tests of the files from
    /// `head` up to it clear marks, each its own).
    static bool isCertainlyAnalysed(const std::vector<ConversionFile *> &files,
                                    std::size_t head,
                                    std::size_t index);

    /// The copybooks a program-info file names (its FILE lines after the program's own);
    /// none when it cannot be read.
    static std::optional<std::set<std::string>> copybooksOf(const std::string &programInfoText);
};
