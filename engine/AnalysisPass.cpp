#include "AnalysisPass.h"

#include "ConversionFile.h"
#include "DbEu.h"
#include "IException.h"
#include "OutputFile.h"
#include "PathNames.h"
#include "RegularFile.h"
#include "SeedTable.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

/// How many files after the one whose turn it is may have a builder run started ahead, per
/// tool that may run at a time: enough to keep every slot busy while files are skipped, few
/// enough that a result made ahead is seldom outdated before its turn.
constexpr std::size_t lookaheadPerSlot = 8;

/// Removes files without a word about it; false when one of them stays.
bool removeQuietly(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        std::error_code error;
        fs::remove(path, error);
        if (error)
            return false;
    }
    return true;
}

} // namespace

AnalysisPass::AnalysisPass(PassContext &context,
                           SeedTable &table,
                           std::string seedFile,
                           XcompTrace trace)
    : EnginePass(context, ConversionObserver::Pass::Analysis)
    , m_table(table)
    , m_seedFile(std::move(seedFile))
    , m_temporarySeedFile(temporarySeedFile(m_seedFile, context.outputDirectory))
    , m_trace(trace)
    , m_database(DbEu::databasePathIn(context.outputDirectory))
{}

std::string AnalysisPass::temporarySeedFile(const std::string &seedFile,
                                            const std::string &outputDirectory)
{
    return PathNames::join(outputDirectory, PathNames::baseName(seedFile) + ".asd");
}

void AnalysisPass::fail(const std::string &text)
{
    m_context.console << "Error: " << text << std::endl;
    throw IAccessError(text);
}

void AnalysisPass::copySeedFile(const std::string &errorText)
{
    std::error_code error;
    // A seed file that already is the temporary one would be truncated by the copy: the user's
    // seed file is never written to.
    if (fs::equivalent(m_seedFile, m_temporarySeedFile, error))
        fail(errorText);
    // Read without blocking (a FIFO is refused) and written as a new file beside the old one,
    // which takes its name only when every byte is there.
    std::string problem;
    if (!OutputFile::copy(m_seedFile, m_temporarySeedFile, problem))
        fail(errorText);
}

std::string AnalysisPass::temporarySeedText() const
{
    return RegularFile::read(m_temporarySeedFile).text;
}

void AnalysisPass::rewriteSeedFile()
{
    std::error_code error;
    if (fs::equivalent(m_seedFile, m_temporarySeedFile, error))
        fail("The temporary seed file " + m_temporarySeedFile + " cannot be copied to.");
    const RegularFile::Result seed = RegularFile::read(m_seedFile);
    if (!seed)
        fail("The temporary seed file " + m_temporarySeedFile + " cannot be copied to.");
    std::ostringstream entries;
    m_table.writeSeedEntries(entries);
    // The whole file takes the name in one step: a builder run that starts meanwhile reads the
    // old file or the new one, never the copy of the seed file without the entries behind it.
    std::string problem;
    if (!OutputFile::replace(m_temporarySeedFile, seed.text + entries.str(), problem))
        fail("The temporary seed file " + m_temporarySeedFile + " failed to finish.");
}

std::string AnalysisPass::commandText(const ConversionFile &file) const
{
    return "kelmkpu " + file.adtName() + " /r " + m_temporarySeedFile + " /m- /c /u+ /d "
           + m_context.outputDirectory;
}

void AnalysisPass::numberUnits()
{
    // The builder numbers a new program unit as told, so the numbers do not depend on which
    // run ends first: the n-th file that the pass analyses is unit n.
    m_unitNumbers.assign(m_context.files.size(), 0);
    std::size_t next = 1;
    for (std::size_t index = 0; index < m_context.files.size(); ++index) {
        if (!hasSevereError(m_context.files[index]->state()))
            m_unitNumbers[index] = next++;
    }
}

void AnalysisPass::startBuilder(std::size_t index)
{
    ConversionFile &file = *m_context.files[index];
    AnalysisLookahead::Run &run = m_runs[index];
    run = {};
    run.stage = AnalysisLookahead::Run::Stage::Running;
    // The temporary seed file always holds the table as of this count.
    run.stamp = m_table.changeCount();
    m_context.runner.start(
        toolJob(index,
                "kelmkpu",
                {file.adtName(),
                 "/r",
                 m_temporarySeedFile,
                 "/m-",
                 "/c",
                 "/u+",
                 "/d",
                 m_context.outputDirectory},
                {},
                {"CHRONEX_UNIT_NUMBER=" + std::to_string(m_unitNumbers[index])}));
}

void AnalysisPass::finish(const ToolRunner::Completion &completion)
{
    ConversionFile &file = *m_context.files[completion.tag];
    AnalysisLookahead::Run &run = m_runs[completion.tag];
    if (completion.result.signalled)
        removeHalfWritten({file.xcaName(), file.xrlName(), file.xpdName()});
    // Printed now; kept with the file when its turn takes the result, so the file's tool
    // output tells of the runs that count only.
    if (wasStarted(completion.result))
        run.report = printTool(commandText(file), completion.result);
    run.result = completion.result;
    run.stage = AnalysisLookahead::Run::Stage::Ended;
    // The first run that recorded a unit made the database: from now on the runs share its log.
    m_database.holdIfPresent();
    // Which copybooks the result depends on, for the test in the file's turn.
    const RegularFile::Result info = RegularFile::read(file.xrlName());
    run.copybooks = info ? AnalysisLookahead::copybooksOf(info.text) : std::nullopt;
}

void AnalysisPass::lookAhead(std::size_t head)
{
    if (!isLookingAhead())
        return;
    using Stage = AnalysisLookahead::Run::Stage;
    ToolRunner &runner = m_context.runner;
    const std::size_t count = m_context.files.size();
    const std::size_t end = std::min(count, head + 1 + lookaheadPerSlot * runner.capacity());
    // One slot always stays free for the file whose turn it is.
    std::size_t runningAhead = 0;
    for (std::size_t index = head + 1; index < end; ++index)
        runningAhead += m_runs[index].stage == Stage::Running ? 1 : 0;

    for (std::size_t index = head + 1; index < end; ++index) {
        if (runningAhead + 1 >= runner.capacity() || !runner.hasRoom() || isCancelled())
            return;
        ConversionFile &file = *m_context.files[index];
        AnalysisLookahead::Run &run = m_runs[index];
        if (run.stage == Stage::Running)
            continue;
        const ProgramInfo *program = file.hasProgramInfo() ? &file.programInfo() : nullptr;
        if (run.stage == Stage::Ended && AnalysisLookahead::isCurrent(run, m_table, program))
            continue;
        if (!AnalysisLookahead::isCertainlyAnalysed(m_context.files, head, index))
            continue;
        // Only what this run writes may count; a file whose old results stay is left to its
        // turn, which reports why. (The expanded source stays: see obtainResult.)
        if (!removeQuietly({file.xcaName(), file.xrlName()}))
            continue;
        if (run.stage == Stage::Ended)
            ++m_repeatedRuns;
        startBuilder(index);
        ++runningAhead;
    }
}

AnalysisPass::Obtained AnalysisPass::obtainResult(std::size_t index,
                                                  ChildProcess::Result &result,
                                                  bool &kept)
{
    using Stage = AnalysisLookahead::Run::Stage;
    ConversionFile &file = *m_context.files[index];
    for (;;) {
        AnalysisLookahead::Run &run = m_runs[index];
        if (run.stage == Stage::Ended) {
            const ProgramInfo *program = file.hasProgramInfo() ? &file.programInfo() : nullptr;
            if (AnalysisLookahead::isCurrent(run, m_table, program)) {
                result = std::move(run.result);
                kept = run.report.empty() || keepTool(file, run.report, result);
                run = {};
                return Obtained::Result;
            }
            // Made from seed blocks that have changed since: the builder runs again.
            ++m_repeatedRuns;
            run = {};
        }
        if (run.stage == Stage::None) {
            // Only findings and program info written by this analysis count. The expanded
            // source is the unit's, which the database keeps until the builder records it
            // again (a failed run leaves both as they were), and the builder tells by it
            // whether the unit's records still stand.
            if (!removeEarlierResults(file, {file.xcaName(), file.xrlName()}))
                return Obtained::Failed;
            startBuilder(index);
        }
        while (m_runs[index].stage == Stage::Running) {
            lookAhead(index);
            finish(m_context.runner.next());
        }
        if (isCancelled())
            return Obtained::Cancelled;
    }
}

void AnalysisPass::judge(ConversionFile &file,
                         const ChildProcess::Result &result,
                         bool kept,
                         bool &tableChanged)
{
    const int code = result.returnCode;
    if (!kept || code > 8
        || !expectResult(file, "The program-unit builder", "findings", file.xcaName())) {
        setState(file, 0x48);
        countFailure();
        return;
    }
    // Read without blocking: a directory or FIFO under the name is as unreadable as a missing file.
    const RegularFile::Result info = RegularFile::read(file.xrlName());
    if (!info) {
        reportFileError(file, "The program-info file " + file.xrlName() + " " + info.problem + ".");
        setState(file, 0x48);
        countFailure();
        return;
    }
    std::istringstream programInfo(info.text);
    if (m_table.readProgramInfo(file.programInfo(), programInfo)) {
        tableChanged = true;
        rewriteSeedFile();
    }

    const bool hasCopybooks = m_table.copybookCount(file.programInfo()) > 0;
    if (code == 0 || code == 4) {
        if (hasCopybooks) {
            setState(file, code == 0 ? 0x21 : 0x22);
        } else {
            setState(file, code == 0 ? 0x41 : 0x42);
            countSuccess();
        }
    } else {
        setState(file, code == 8 ? 0x44 : 0x48);
        countFailure();
    }
}

AnalysisPass::Outcome AnalysisPass::analyse(std::size_t index, int loop, bool &tableChanged)
{
    ConversionFile &file = *m_context.files[index];
    const std::string name = PathNames::fileName(file.fullPath());
    const std::uint8_t state = file.state();
    if (hasSevereError(state)) {
        m_trace.line("XCOMP:   Skipped since " + name + " has a severe error earlier.");
        m_trace.line("XCOMP:   " + std::to_string(loop));
        return Outcome::Continue;
    }
    if (state & 0x40) {
        m_trace.line("XCOMP:   Skipped since " + name + " is marked completed.");
        return Outcome::Continue;
    }
    if ((state & 0x20) && !m_table.hasNewCopybookData(file.programInfo())) {
        m_trace.line("XCOMP:   Skipped since " + name
                     + " nothing new to reanalyze.  May try again next pass.");
        return Outcome::Continue;
    }

    m_trace.line("XCOMP:   Analyzing " + name);
    setState(file, 0x92);
    ChildProcess::Result result;
    bool kept = true;
    switch (obtainResult(index, result, kept)) {
    case Obtained::Failed:
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    case Obtained::Cancelled:
        return Outcome::Stop;
    case Obtained::Result:
        break;
    }
    judge(file, result, kept, tableChanged);
    return Outcome::Continue;
}

void AnalysisPass::runLoops()
{
    const std::size_t count = m_context.files.size();
    bool tableChanged = false;
    int loop = 1;
    // The seed entries each changing pass left behind. Kinds do not only grow (an always-year
    // report turns a stored always-non-year into a conflict, and an always-non-year report turns
    // the conflict back), so two programs can undo each other's change for ever. The tools see
    // nothing but the seed entries, so entries repeating those of an earlier pass mean the passes
    // have started to go round in a circle: the loop stops there instead of never ending.
    std::set<std::string> earlierEntries;
    do {
        m_trace.line("XCOMP:Loop " + std::to_string(loop));
        tableChanged = false;
        for (std::size_t index = 0; index < count; ++index) {
            if (isCancelled())
                return;
            m_context.observer.fileStarted(m_pass, index, count);
            lookAhead(index);
            if (analyse(index, loop, tableChanged) == Outcome::Stop)
                return;
            m_context.observer.filesDone(m_pass, index + 1, count);
        }
        if (tableChanged && !earlierEntries.insert(temporarySeedText()).second) {
            m_context.console << "Error:  The analysis passes do not settle: pass " << loop
                              << " left the same seed entries as an earlier pass.\n"
                              << "        The analysis stops here; the conflicting kinds stay in "
                              << m_temporarySeedFile << "." << std::endl;
            break;
        }
        ++loop;
    } while (tableChanged);

    for (ConversionFile *file : m_context.files) {
        if (file->state() == 0x21) {
            setState(*file, 0x41);
            countSuccess();
        } else if (file->state() == 0x22) {
            setState(*file, 0x42);
            countSuccess();
        }
    }
}

void AnalysisPass::run()
{
    copySeedFile("Cannot copy seed file " + m_seedFile + " to " + m_temporarySeedFile);
    numberUnits();
    m_database.holdIfPresent();
    m_runs.assign(m_context.files.size(), AnalysisLookahead::Run());
    const auto finishOne = [this](const ToolRunner::Completion &ended) { finish(ended); };
    try {
        runLoops();
    } catch (...) {
        finishRunningTools(finishOne);
        throw;
    }
    // Runs started ahead of a turn that a cancel or an error kept from coming.
    finishRunningTools(finishOne);
    // Closing last, the keeper folds the log into the database file.
    m_database.release();
}
