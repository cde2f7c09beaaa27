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

    /// Prints the separator line and "Executed:  " + `command` + " ==> " + `returnCode`.
    void printExecuted(const std::string &command, int returnCode);

    /// True when the file had a severe result in an earlier pass (bit 0x04 or 0x08).
    static bool hasSevereError(std::uint8_t state) { return (state & 0x0C) != 0; }

    PassContext &m_context;
    const ConversionObserver::Pass m_pass;
};
