#include "ConversionPass.h"

#include "ConversionFile.h"
#include "ConversionOptionsFile.h"
#include "IException.h"
#include "OutputFile.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t findingReadLength = 150;

} // namespace

ConversionPass::ConversionPass(PassContext &context, ConversionOptionsFile &optionsFile)
    : EnginePass(context, ConversionObserver::Pass::Conversion)
    , m_optionsFile(optionsFile)
{}

std::string ConversionPass::findingsText(const std::string &findings)
{
    std::string text;
    for (std::size_t start = 0; start < findings.size();) {
        std::size_t end = findings.find('\n', start);
        const bool lineEnd = end != std::string::npos && end - start <= findingReadLength;
        // A longer line comes in reads of 150 characters; each read ends a log line.
        if (!lineEnd)
            end = std::min(start + findingReadLength, findings.size());
        std::string piece = findings.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.pop_back();
        text += piece + "\n";
        start = lineEnd ? end + 1 : end;
    }
    return text;
}

bool ConversionPass::writeLog(ConversionFile &file, const std::string &text)
{
    if (text.empty() || m_log.write(text))
        return true;
    reportFileError(file, "The conversion log " + m_logPath + " " + m_log.problem() + ".");
    // The next file tries again: the log goes on where it can, the failed file says so.
    if (!m_log.append(m_logPath))
        m_log.close();
    return false;
}

bool ConversionPass::readFindings(ConversionFile &file, std::string &findings)
{
    const std::string xca = file.xcaName();
    std::error_code error;
    if (!fs::exists(xca, error))
        return true;
    const RegularFile::Result read = RegularFile::read(xca);
    if (!read) {
        reportFileError(file, "The findings file " + xca + " " + read.problem + ".");
        return false;
    }
    findings = findingsText(read.text);
    return true;
}

bool ConversionPass::moveReport(ConversionFile &file)
{
    const std::string report = file.sourceCrsName();
    // The aid leaves its report beside the source; when that is the output directory, it is
    // where it belongs already.
    if (report == file.crsName())
        return true;
    std::error_code error;
    if (!fs::exists(report, error))
        return true; // judged with the other results
    std::string problem;
    if (!OutputFile::copy(report, file.crsName(), problem)) {
        reportFileError(file, problem + ".");
        return false;
    }
    if (!fs::remove(report, error) && error)
        reportFileError(file,
                        "The report " + report + " was copied to " + file.crsName()
                            + " but cannot be removed: " + error.message() + ".");
    return true;
}

void ConversionPass::failEarly(ConversionFile &file, Conversion &conversion)
{
    setState(file, 0x88);
    countFailure();
    conversion.ended = true;
    conversion.judged = true;
}

void ConversionPass::start(std::size_t index)
{
    ConversionFile &file = *m_context.files[index];
    Conversion &conversion = m_conversions[index];
    m_context.observer.fileStarted(m_pass, index, m_context.files.size());
    setState(file, 0x94);
    // Only a converted source and a report written by this run of the aid count.
    if (!removeEarlierResults(file, {file.cvtName(), file.crsName(), file.sourceCrsName()})
        || !readFindings(file, conversion.findings)) {
        failEarly(file, conversion);
        return;
    }
    // With every file before it logged, the findings go to the log now, and a file whose
    // findings cannot be logged does not get to its aid. Otherwise they wait for their turn.
    if (m_retired == index) {
        const std::string findings = std::exchange(conversion.findings, std::string());
        if (!writeLog(file, findings)) {
            failEarly(file, conversion);
            return;
        }
    }

    conversion.optionsPath = m_optionsFile.write(file.fullPath(),
                                                 file.cvtName(),
                                                 file.xcaName(),
                                                 m_context.outputDirectory,
                                                 m_context.console);
    m_context.runner.start(
        toolJob(index, "vyquext", {"/h", file.fullPath()}, file.sourceDirectory()));
}

void ConversionPass::finish(const ToolRunner::Completion &completion)
{
    ConversionFile &file = *m_context.files[completion.tag];
    Conversion &conversion = m_conversions[completion.tag];
    const ChildProcess::Result &result = completion.result;
    bool written = true;
    if (result.signalled) {
        // Killed while it wrote them, the converted source may be left in its temporary file
        // and the report half done: neither counts.
        removeHalfWritten({file.cvtName()});
        std::error_code ignored;
        fs::remove(file.sourceCrsName(), ignored);
    }
    if (wasStarted(result)) {
        written = reportTool(file, "vyquext /h " + file.fullPath(), result);
        written = moveReport(file) && written;
    }
    if (const std::string problem = ConversionOptionsFile::remove(conversion.optionsPath);
        !problem.empty())
        m_context.console << "Error:  " << problem << std::endl;
    // A cancelled file has finished its clean-up and keeps its running state.
    if (isCancelled())
        return;
    conversion.written = conversion.written && written;
    conversion.returnCode = result.returnCode;
    conversion.ended = true;
    retire();
}

void ConversionPass::judge(ConversionFile &file, Conversion &conversion)
{
    const int code = conversion.returnCode;
    bool written = conversion.written;
    if (code <= 8 && written) {
        written = expectResult(file, "The conversion aid", "converted source", file.cvtName())
                  && expectResult(file, "The conversion aid", "report", file.crsName());
    }
    if (code == 0 && written) {
        setState(file, 0x81);
        countSuccess();
    } else if (code >= 1 && code <= 8 && written) {
        setState(file, 0x82);
        countSuccess();
    } else {
        setState(file, 0x88);
        countFailure();
    }
    conversion.judged = true;
}

void ConversionPass::retire()
{
    const std::size_t count = m_context.files.size();
    while (m_retired < m_queued && m_conversions[m_retired].ended) {
        ConversionFile &file = *m_context.files[m_retired];
        Conversion &conversion = m_conversions[m_retired];
        if (!conversion.judged) {
            // Findings that waited for the files before them are logged before the judgement,
            // which a failed write turns into a failure.
            const std::string findings = std::exchange(conversion.findings, std::string());
            if (!writeLog(file, findings))
                conversion.written = false;
            judge(file, conversion);
        }
        logToolOutput(file);
        ++m_retired;
        m_context.observer.filesDone(m_pass, m_retired, count);
    }
}

void ConversionPass::logToolOutput(ConversionFile &file)
{
    // A file that failed, or whose tools had something to say, shows it in the log as well.
    const std::string output = file.toolOutput();
    const bool failed = hasSevereError(file.state());
    if (!failed && file.latestMessage().empty())
        return;
    char state[8];
    std::snprintf(state, sizeof state, "0x%02X", file.state());
    writeLog(file,
             "Tool output for " + file.fullPath() + " (state " + state + "):\n" + output
                 + (output.empty() || output.back() == '\n' ? "" : "\n"));
}

void ConversionPass::run()
{
    m_logPath = PathNames::join(m_context.outputDirectory, "chxconv.log");
    if (!m_log.create(m_logPath)) {
        m_context.console << "Error:  The conversion log " << m_logPath << " cannot be written."
                          << std::endl;
        throw IAccessError("The conversion log " + m_logPath + " cannot be written.");
    }

    ToolRunner &runner = m_context.runner;
    const std::size_t count = m_context.files.size();
    m_conversions.assign(count, Conversion());
    const auto finishOne = [this](const ToolRunner::Completion &ended) { finish(ended); };
    try {
        for (std::size_t index = 0; index < count; ++index) {
            while (!runner.hasRoom())
                finish(runner.next());
            if (isCancelled())
                break;
            m_queued = index + 1;
            if (hasSevereError(m_context.files[index]->state())) {
                // Skipped, but logged in its turn like every other file.
                m_conversions[index].ended = true;
                m_conversions[index].judged = true;
            } else {
                start(index);
            }
            retire();
        }
    } catch (...) {
        finishRunningTools(finishOne);
        throw;
    }
    finishRunningTools(finishOne);

    if (m_log.isOpen() && !m_log.close()) {
        m_context.console << "Error:  The conversion log " << m_logPath << " " << m_log.problem()
                          << "." << std::endl;
        throw IAccessError("The conversion log " + m_logPath + " " + m_log.problem() + ".");
    }
}
