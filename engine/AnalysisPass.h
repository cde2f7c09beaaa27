#pragma once

#include "AnalysisDatabaseKeeper.h"
#include "AnalysisLookahead.h"
#include "EnginePass.h"
#include "XcompTrace.h"

#include <cstddef>
#include <string>
#include <vector>

class SeedTable;

/// Runs the program-unit builder `kelmkpu` on every compiled file, over and over while the
/// seed table keeps learning about shared copybooks.
///
/// The builder reads a temporary seed file in the output directory: a copy of the user's seed
/// file followed by the table's seed blocks, regenerated whenever the table changes. The user's
/// seed file is only ever read.
///
/// The files take their turns in list order, loop after loop, as with one builder at a time:
/// each turn decides whether the file is analysed, merges its program-info file and rewrites the
/// temporary seed file. With a runner that takes several tools, builder runs for later files
/// start before their turn (AnalysisLookahead); a turn takes such a result only when it is the
/// one the turn itself would make, and runs the builder again otherwise. So the table, the
/// temporary seed file and every result file come out the same however many tools run at once.
///
/// Each builder run is told the program unit's number for the analysis database
/// (CHRONEX_UNIT_NUMBER): the file's place among the files the pass analyses, so the numbers
/// follow the file list and not the order in which runs end.
///
/// States: 0x92 while running; 0x21 / 0x22 (return code 0 / 4, has copybooks: may run again),
/// 0x41 / 0x42 (complete, success), 0x44 / 0x48 (failure; 0x48 also for missing or unreadable
/// results). After the loop, 0x21 and 0x22 become 0x41 and 0x42 and count as successes.
///
/// Throws IAccessError (after printing an "Error: " line) when the temporary seed file cannot be
/// made; the error ends the run and the files keep their states.
class AnalysisPass final : public EnginePass
{
public:
    AnalysisPass(PassContext &context, SeedTable &table, std::string seedFile, XcompTrace trace);

    void run();

    /// The temporary seed file for `seedFile` in `outputDirectory`: <base name>.asd.
    static std::string temporarySeedFile(const std::string &seedFile,
                                         const std::string &outputDirectory);

    /// Builder runs whose results were not taken because the table had changed under them.
    std::size_t repeatedRuns() const { return m_repeatedRuns; }

private:
    enum class Outcome { Continue, Stop };
    enum class Obtained { Result, Failed, Cancelled };

    void runLoops();
    /// The turn of the file at `index`.
    Outcome analyse(std::size_t index, int loop, bool &tableChanged);
    /// Gets the builder's result for the file at `index` as its turn must see it: one made
    /// ahead when it is still current, else from a run started now.
    /// The tool output of the run taken is kept with the file (`kept`: it could be written).
    Obtained obtainResult(std::size_t index, ChildProcess::Result &result, bool &kept);
    /// Judges the file's result, merges its program-info file and sets its state.
    void judge(ConversionFile &file,
               const ChildProcess::Result &result,
               bool kept,
               bool &tableChanged);
    void startBuilder(std::size_t index);
    void finish(const ToolRunner::Completion &completion);
    /// Starts runs for files after `head` that will certainly be analysed, while slots are free.
    void lookAhead(std::size_t head);
    bool isLookingAhead() const { return m_context.runner.capacity() > 1; }
    std::string commandText(const ConversionFile &file) const;
    void numberUnits();

    void copySeedFile(const std::string &errorText);
    /// Writes the temporary seed file anew: the user's seed file and the table's entries, in
    /// one step.
    void rewriteSeedFile();
    /// The whole temporary seed file: the user's seed file and the table's entries.
    std::string temporarySeedText() const;
    [[noreturn]] void fail(const std::string &text);

    SeedTable &m_table;
    std::string m_seedFile;
    std::string m_temporarySeedFile;
    XcompTrace m_trace;
    std::vector<AnalysisLookahead::Run> m_runs;
    std::vector<std::size_t> m_unitNumbers;
    std::size_t m_repeatedRuns = 0;
    /// Holds the database open from the first recorded unit to the end of the pass.
    AnalysisDatabaseKeeper m_database;
};
