#pragma once

#include "ChildProcess.h"
#include "ConversionObserver.h"
#include "ToolRunner.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class ConversionControl;
class ConversionFile;

/// What every pass of one conversion run shares.
struct PassContext
{
    /// The files of the run, in list order; the run does not own them.
    const std::vector<ConversionFile *> &files;
    ConversionControl &control;
    ConversionObserver &observer;
    /// Console lines ("Executed:  ...", "Error:  ...", traces).
    std::ostream &console;
    /// Where the result files go; children find it in CHRONEX_OUTPUT_DIR.
    std::string outputDirectory;
    /// The conversion's title; children find it in CHRONEX_TITLE (kelmkpu names the execution
    /// unit of the analysis database after it).
    std::string title;
    /// Runs the tools, up to its capacity at a time. With a capacity of 1 every pass works
    /// through the files strictly one after the other.
    ToolRunner &runner;
};

/// The common frame of the three passes: state changes with their report, the pass's counters,
/// and the run of one outside tool with its "Executed:  " line.
class EnginePass
{
public:
    /// The line printed before every "Executed:  " line.
    static const std::string &separatorLine();

protected:
    EnginePass(PassContext &context, ConversionObserver::Pass pass);
    ~EnginePass() = default;

    bool isCancelled() const;
    void setState(ConversionFile &file, std::uint8_t state);
    void countSuccess();
    void countFailure();

    /// The run of `program` with `arguments` in `workingDirectory` (empty: the current one) for
    /// the file at `index`, with the run's variables (and `environment`) in its environment.
    ToolRunner::Job toolJob(std::size_t index,
                            const std::string &program,
                            std::vector<std::string> arguments,
                            const std::string &workingDirectory,
                            std::vector<std::string> environment = {}) const;

    /// True when the tool of `result` was started: a run that a cancel kept from starting has
    /// nothing to report.
    static bool wasStarted(const ChildProcess::Result &result);

    /// Takes the results of the runs still under way, reporting each with `finish`, until none
    /// is left; a pass calls it before it ends, also when it ends by an error.
    template<typename Finish>
    void finishRunningTools(Finish finish)
    {
        while (m_context.runner.running() > 0)
            finish(m_context.runner.next());
    }

    /// Reports the end of a tool run for `file`: prints what the tool wrote, the separator line
    /// and "Executed:  " + `command` + " ==> " + the return code, and keeps the same text as the
    /// file's tool output, in memory and appended to its ".xlg" file in the output directory.
    /// False when that file cannot be written; the error has been reported for the file then.
    bool reportTool(ConversionFile &file,
                    const std::string &command,
                    const ChildProcess::Result &result);

    /// The two halves of `reportTool`, for a run whose result may not be taken: `printTool`
    /// prints the text in one piece and returns it; `keepTool` keeps it with the file.
    std::string printTool(const std::string &command, const ChildProcess::Result &result);
    bool keepTool(ConversionFile &file,
                  const std::string &text,
                  const ChildProcess::Result &result);

    /// Prints "Error:  " + `text` and keeps the line with the file's tool output, where it
    /// becomes the file's latest message.
    void reportFileError(ConversionFile &file, const std::string &text);

    /// Removes what an earlier run left under `paths` (files, links, empty directories), so that
    /// only what the tool writes in this run counts. False, after reporting the first path that
    /// cannot be removed as the file's error.
    bool removeEarlierResults(ConversionFile &file, const std::vector<std::string> &paths);

    /// Removes what a tool ended by a signal may have left half written of `results`: the
    /// temporary file beside each that the tools write a result through and rename when it is
    /// whole ("." + name + ".XXXXXX" or name + ".XXXXXX", as mkstemp makes them).
    static void removeHalfWritten(const std::vector<std::string> &results);

    /// True when `path` is a regular file: a result the tool wrote in this run, its earlier
    /// result having been removed before it ran. Otherwise reports "<what> wrote no <result>".
    bool expectResult(ConversionFile &file,
                      const std::string &tool,
                      const std::string &what,
                      const std::string &path);

    /// True when the file had a severe result in an earlier pass (bit 0x04 or 0x08).
    static bool hasSevereError(std::uint8_t state) { return (state & 0x0C) != 0; }

    PassContext &m_context;
    const ConversionObserver::Pass m_pass;

private:
    /// Keeps `text` with the file's tool output (`messageText` gives its latest message) and
    /// appends it to the ".xlg" file; the write's problem, empty when it succeeded.
    std::string keepToolOutput(ConversionFile &file,
                               const std::string &text,
                               const std::string &messageText);
};
