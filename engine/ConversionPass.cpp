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

bool ConversionPass::logFindings(ConversionFile &file)
{
    const std::string xca = file.xcaName();
    std::error_code error;
    if (!fs::exists(xca, error))
        return true;
    const RegularFile::Result findings = RegularFile::read(xca);
    if (!findings) {
        reportFileError(file, "The findings file " + xca + " " + findings.problem + ".");
        return false;
    }
    return writeLog(file, findingsText(findings.text));
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

void ConversionPass::convert(ConversionFile &file)
{
    setState(file, 0x94);
    // Only a converted source and a report written by this run of the aid count.
    if (!removeEarlierResults(file, {file.cvtName(), file.crsName(), file.sourceCrsName()})
        || !logFindings(file)) {
        setState(file, 0x88);
        countFailure();
        return;
    }

    const std::string optionsPath = m_optionsFile.write(file.fullPath(),
                                                        file.cvtName(),
                                                        file.xcaName(),
                                                        m_context.outputDirectory,
                                                        m_context.console);
    const ChildProcess::Result result = runTool("vyquext",
                                                {"/h", file.fullPath()},
                                                file.sourceDirectory());
    bool written = reportTool(file, "vyquext /h " + file.fullPath(), result);
    written = moveReport(file) && written;
    if (const std::string problem = ConversionOptionsFile::remove(optionsPath); !problem.empty())
        m_context.console << "Error:  " << problem << std::endl;
    if (isCancelled())
        return;

    const int code = result.returnCode;
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

    const std::size_t count = m_context.files.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (isCancelled())
            break;
        ConversionFile &file = *m_context.files[index];
        if (!hasSevereError(file.state())) {
            m_context.observer.fileStarted(m_pass, index, count);
            convert(file);
            if (isCancelled())
                break;
        }
        logToolOutput(file);
    }
    if (m_log.isOpen() && !m_log.close()) {
        m_context.console << "Error:  The conversion log " << m_logPath << " " << m_log.problem()
                          << "." << std::endl;
        throw IAccessError("The conversion log " + m_logPath + " " + m_log.problem() + ".");
    }
}
