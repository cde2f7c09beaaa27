#pragma once

#include "ChildProcess.h"
#include "ConversionObserver.h"

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

    /// Runs `program` with `arguments` in `workingDirectory` (empty: the current one).
    ChildProcess::Result runTool(const std::string &program,
                                 const std::vector<std::string> &arguments,
                                 const std::string &workingDirectory);

    /// Reports the end of a tool run for `file`: prints what the tool wrote, the separator line
    /// and "Executed:  " + `command` + " ==> " + the return code, and keeps the same text as the
    /// file's tool output, in memory and appended to its ".xlg" file in the output directory.
    /// False when that file cannot be written; the error has been reported for the file then.
    bool reportTool(ConversionFile &file,
                    const std::string &command,
                    const ChildProcess::Result &result);

    /// Prints "Error:  " + `text` and keeps the line with the file's tool output, where it
    /// becomes the file's latest message.
    void reportFileError(ConversionFile &file, const std::string &text);

    /// Removes what an earlier run left under `paths` (files, links, empty directories), so that
    /// only what the tool writes in this run counts. False, after reporting the first path that
    /// cannot be removed as the file's error.
    bool removeEarlierResults(ConversionFile &file, const std::vector<std::string> &paths);

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
