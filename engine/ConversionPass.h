#pragma once

#include "EnginePass.h"

#include "OutputFile.h"

#include <string>
#include <vector>

class ConversionOptionsFile;

/// Runs the conversion aid `vyquext` on every file without a severe earlier result, in the
/// file's directory, and collects the findings into "chxconv.log" in the output directory.
/// As many aids run at a time as the runner takes; each is reported as it ends, and the files
/// are judged and logged in list order, so the log reads the same however the runs overlap.
///
/// Per file: the ".xca" findings are appended to the log (made anew when the pass starts), the
/// conversion options file is written, the aid runs, its report <source dir>/<base>.crs moves to
/// the output directory, and the options file goes away again (a set-aside one is given back).
/// The converted source and the reports of an earlier run are removed before the aid runs, so
/// only what it writes now counts. After a file, its tool output follows in the log when the file
/// failed in any pass or a tool printed something for it.
///
/// States: 0x94 while running, then 0x81 (code 0), 0x82 (1..8), both success, 0x88 (above 8),
/// failure. Also 0x88: a code up to 8 without the converted source or the report written, a
/// report that cannot be moved, or findings or tool output that cannot be written (each reported
/// with the file's name). A cancelled file finishes its clean-up and keeps 0x94.
class ConversionPass final : public EnginePass
{
public:
    ConversionPass(PassContext &context, ConversionOptionsFile &optionsFile);

    /// Throws IAccessError when the log cannot be made or closed, or the options file cannot be
    /// written (QVFWORK unset); the error ends the run.
    void run();

    /// The findings text as the log takes it: each line read at most 150 characters at a time
    /// (the rest of a longer line comes with the next read), each read ended by a newline.
    static std::string findingsText(const std::string &findings);

private:
    /// What the pass knows of one file until it has been logged.
    struct Conversion
    {
        bool ended = false;  ///< nothing more comes: the aid ended, or the file failed before
        bool judged = false; ///< its state and counters are set
        bool written = true; ///< every result and log line of the file was written
        int returnCode = ChildProcess::severeResult;
        std::string findings; ///< findings still to be logged
        std::string optionsPath;
    };

    /// Prepares the file at `index` and starts the aid on it.
    void start(std::size_t index);
    /// Reports an ended aid and cleans up after it.
    void finish(const ToolRunner::Completion &completion);
    /// Judges and logs the files in list order, as far as they have ended.
    void retire();
    void judge(ConversionFile &file, Conversion &conversion);
    /// Sets a failed state for a file that did not get to its aid.
    void failEarly(ConversionFile &file, Conversion &conversion);
    bool readFindings(ConversionFile &file, std::string &findings);
    bool moveReport(ConversionFile &file);
    void logToolOutput(ConversionFile &file);
    /// Appends `text` to the log; false after reporting a failed write as the file's error.
    bool writeLog(ConversionFile &file, const std::string &text);

    ConversionOptionsFile &m_optionsFile;
    std::string m_logPath;
    OutputFile m_log;
    std::vector<Conversion> m_conversions;
    std::size_t m_queued = 0;  ///< files taken up so far, in list order
    std::size_t m_retired = 0; ///< files judged and logged, in list order
};
