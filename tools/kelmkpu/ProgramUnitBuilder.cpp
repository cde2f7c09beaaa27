#include "ProgramUnitBuilder.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisDataAdapter.h"
#include "CommandLine.h"
#include "DateFieldAnalyzer.h"
#include "FindingsWriter.h"
#include "IException.h"
#include "ImpactRecorder.h"
#include "PathNames.h"
#include "ProgramInfoWriter.h"
#include "ResultFile.h"
#include "SeedFile.h"
#include "UnitRecorder.h"

#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>

namespace kelmkpu {

namespace {

/// The large data of a run.
struct RunData
{
    std::unique_ptr<cobol::AdtFile> file;
    SeedFile seeds;
    ProgramModel model;
    DbImpactFacts impact;
    std::optional<DateFieldAnalyzer> analyzer;
    AnalysisResult result;
    std::unique_ptr<RunData> earlier; ///< of a run before, also left to the process's end
};

/// The data of the runs that left it to the process's end. A plain pointer, which nothing
/// destroys at exit: the data stays reachable, so that a leak checker does not count it lost.
RunData *dataLeftToProcessEnd = nullptr;

struct Outputs
{
    std::string xrl;
    std::string xca;
};

/// Writes both result files; false with the error reported on `err`.
bool writeOutputs(const Outputs &paths,
                  const std::string &xrl,
                  const std::string &xca,
                  std::ostream &err)
{
    std::string error;
    if (!ResultFile::write(paths.xrl, xrl, error) || !ResultFile::write(paths.xca, xca, error)) {
        err << "kelmkpu: error: " << error << "\n";
        return false;
    }
    return true;
}

/// Writes both result files of an analysis straight to their files (the findings of a large
/// program run to megabytes); false with the error reported on `err`.
bool writeResults(const Outputs &paths,
                  const FindingsWriter::Header &header,
                  const ProgramModel &model,
                  const AnalysisResult &result,
                  std::ostream &err)
{
    std::string error;
    ResultFile xrl(paths.xrl);
    if (xrl.open(error)) {
        ProgramInfoWriter::write(xrl.stream(), model, result);
        if (xrl.commit(error)) {
            ResultFile xca(paths.xca);
            if (xca.open(error)) {
                FindingsWriter::write(xca.stream(), header, model, result);
                if (xca.commit(error))
                    return true;
            }
        }
    }
    err << "kelmkpu: error: " << error << "\n";
    return false;
}

/// Gives the memory freed so far back to the system: a large program's freed buffers would
/// otherwise stay part of the process while the next, larger structures are made.
void returnFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

int failWithInput(const Outputs &paths,
                  const FindingsWriter::Header &header,
                  const std::string &error,
                  std::ostream &err)
{
    err << "kelmkpu: error: " << error << "\n";
    std::ostringstream xrl;
    ProgramInfoWriter::writeEmpty(xrl, header.source);
    std::ostringstream xca;
    FindingsWriter::writeError(xca, header, error);
    return writeOutputs(paths, xrl.str(), xca.str(), err) ? ProgramUnitBuilder::UnusableInput
                                                          : ProgramUnitBuilder::Failed;
}

} // namespace

int ProgramUnitBuilder::run(const std::vector<std::string> &arguments,
                            std::ostream &err,
                            Ending ending)
{
    bool recordWhole = false;
    const int code = runOnce(arguments, err, ending, Recording::mayKeepRecords, recordWhole);
    // The unit was recorded from other input between the check and the write (another run of
    // the same source): this run's data are gone, and it runs again recording the unit whole.
    return recordWhole ? runOnce(arguments, err, ending, Recording::whole, recordWhole) : code;
}

int ProgramUnitBuilder::runOnce(const std::vector<std::string> &arguments,
                                std::ostream &err,
                                Ending ending,
                                Recording recording,
                                bool &recordWhole)
{
    recordWhole = false;
    CommandLine commandLine;
    std::string error;
    if (!commandLine.parse(arguments, error)) {
        err << "kelmkpu: error: " << error << "\n" << CommandLine::usage();
        return Failed;
    }
    const std::string base = PathNames::baseName(commandLine.adtPath);
    if (base.empty() || base == "." || base == "..") {
        err << "kelmkpu: error: the analysis data file " << commandLine.adtPath
            << " has no base name to name the results after\n";
        return Failed;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(commandLine.outputDirectory, ec)) {
        err << "kelmkpu: error: the output directory " << commandLine.outputDirectory
            << " does not exist\n";
        return Failed;
    }
    const Outputs paths{PathNames::join(commandLine.outputDirectory, base + ".xrl"),
                        PathNames::join(commandLine.outputDirectory, base + ".xca")};
    FindingsWriter::Header header{commandLine.adtPath, !commandLine.seedOnly, commandLine.seedPath};

    auto data = std::make_unique<RunData>();
    std::unique_ptr<cobol::AdtFile> &file = data->file;
    try {
        file = cobol::AdtFile::open(commandLine.adtPath);
    } catch (const IException &e) {
        return failWithInput(paths, header, "cannot use the analysis data file: " + e.text(), err);
    } catch (const std::exception &e) {
        return failWithInput(paths,
                             header,
                             "cannot use the analysis data file " + commandLine.adtPath + ": "
                                 + e.what(),
                             err);
    }
    const cobol::AnalysisData &analysisData = file->data();
    header.source = analysisData.sourcePath.empty() ? commandLine.adtPath : analysisData.sourcePath;

    SeedFile &seeds = data->seeds;
    if (!commandLine.seedPath.empty() && !seeds.read(commandLine.seedPath, error))
        return failWithInput(paths, header, error, err);

    // A unit recorded before from the same input keeps its records: the run then records only
    // what its analysis finds, and otherwise runs as one that records no unit.
    std::optional<UnitRecorder::Refreshing> refreshing;
    if (commandLine.recordUnit && recording == Recording::mayKeepRecords)
        refreshing = UnitRecorder::refreshable(commandLine.outputDirectory, base, *file);
    const bool recordsMade = commandLine.recordUnit && !refreshing;

    // The program unit's records need only the analysis data: they are prepared first, so
    // that the expanded source's texts are freed before the model and the analysis need their
    // memory (the peak is then the model's, not the sum of both).
    UnitRecorder::PreparationPointer preparation;
    if (recordsMade)
        preparation = UnitRecorder::prepare(commandLine.outputDirectory, base, *file);
    // Only the unit's records read the syntax nodes (a run without a preparation records the
    // unit in one go at the end, from the file).
    if (!recordsMade || preparation)
        file->releaseSyntaxNodes();

    // What the preparation has freed (the expanded source, its packed records) goes back to
    // the system, so that the model does not come on top of it.
    returnFreeMemory();

    // The statements are checked as the model is made from them.
    ProgramModel &model = data->model;
    try {
        model = AnalysisDataAdapter::toModel(*file);
    } catch (const IException &e) {
        return failWithInput(paths, header, "cannot use the analysis data file: " + e.text(), err);
    }
    if (const std::string invalid = DateFieldAnalyzer::validate(model); !invalid.empty())
        return failWithInput(paths,
                             header,
                             "the analysis data file " + commandLine.adtPath
                                 + " is inconsistent: " + invalid,
                             err);
    DbImpactFacts &impact = data->impact;
    try {
        if (preparation) {
            // What making the model left free goes back to the system: the facts come on top
            // of the model and the file.
            returnFreeMemory();
            // The impact facts read the statements and the tokens last, releasing them as they
            // go: the peak is the model and the facts, not the file too. The unit's records
            // learn where the statements are from the same pass over the tokens. The facts are
            // packed to the temporary file at once: the analysis takes their memory.
            UnitRecorder::setImpact(*preparation,
                                    ImpactRecorder::buildReleasingInput(
                                        *file,
                                        model,
                                        UnitRecorder::statementPlacer(*preparation, model)));
            UnitRecorder::finishPlacing(*preparation, model);
        } else if (recordsMade) {
            impact = ImpactRecorder::build(*file, model);
        }
    } catch (const IException &e) {
        return failWithInput(paths, header, "cannot use the analysis data file: " + e.text(), err);
    }
    // The statements and the tokens go before the analysis (a unit recorded in one go at the
    // end reads the tokens again).
    file->releaseStatements();
    if (!recordsMade || preparation)
        file->releaseTokens();
    // The facts' passes leave the memory they freed in pieces the analysis's tables do not fit
    // in: it goes back to the system, so that the analysis does not come on top of it.
    if (preparation)
        returnFreeMemory();

    DateFieldAnalyzer &analyzer = data->analyzer.emplace(model);
    AnalysisResult &result = data->result;
    result = analyzer.run(seeds,
                          commandLine.seedOnly ? DateFieldAnalyzer::Declarations::Off
                                               : DateFieldAnalyzer::Declarations::On);
    std::vector<Message> messages;
    for (const std::string &warning : seeds.warnings())
        messages.push_back({Severity::Warning, SourcePos{}, "seed file: " + warning});
    messages.insert(messages.end(), result.messages.begin(), result.messages.end());
    result.messages = std::move(messages);

    if (!writeResults(paths, header, model, result, err))
        return Failed;
    // A unit that keeps its records is brought up to date first: should it have been recorded
    // from other input since, the run goes round again before it has said anything.
    std::optional<UnitRecorder::Refreshed> refreshed;
    std::ostringstream refreshErrors;
    if (refreshing) {
        refreshed = UnitRecorder::refresh(*refreshing, *file, model, result, refreshErrors);
        if (*refreshed == UnitRecorder::Refreshed::recordWhole) {
            recordWhole = true;
            return Failed;
        }
    }
    for (const Message &message : result.messages)
        if (message.severity == Severity::Warning)
            err << "kelmkpu: warning: " << message.text << "\n";
    for (const Conflict &conflict : result.conflicts)
        err << "kelmkpu: warning: " << model.items[conflict.item].name
            << " is used both as a year and as a non-year\n";
    // The results above stand on their own: a unit that cannot be recorded is a warning.
    // A prepared unit knows where its statements are: their memory serves the database write.
    if (preparation) {
        std::vector<Statement>().swap(model.statements);
        // What the analysis leaves goes back to the system before the unit's packed records
        // come back from their file.
        returnFreeMemory();
    }
    bool recorded = true;
    if (refreshed) {
        err << refreshErrors.str();
        recorded = *refreshed == UnitRecorder::Refreshed::done;
    } else if (preparation) {
        recorded = UnitRecorder::finish(*preparation, model, result, err);
    } else if (recordsMade) {
        recorded = UnitRecorder::record(commandLine.outputDirectory,
                                        base,
                                        *file,
                                        model,
                                        result,
                                        err,
                                        &impact);
    }
    const int code = result.hasWarnings() || !recorded ? Warnings : Clean;
    if (ending == Ending::LeaveDataToProcessEnd) {
        data->earlier.reset(dataLeftToProcessEnd);
        dataLeftToProcessEnd = data.release();
    }
    return code;
}

} // namespace kelmkpu
