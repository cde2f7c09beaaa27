#include "EnginePass.h"

#include "ConversionControl.h"
#include "ConversionFile.h"
#include "OutputFile.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string_view>

const std::string &EnginePass::separatorLine()
{
    static const std::string line(70, '-');
    return line;
}

EnginePass::EnginePass(PassContext &context, ConversionObserver::Pass pass)
    : m_context(context)
    , m_pass(pass)
{}

bool EnginePass::isCancelled() const
{
    return m_context.control.isCancelled();
}

void EnginePass::setState(ConversionFile &file, std::uint8_t state)
{
    file.setState(state);
    m_context.observer.fileStateChanged(file, state);
}

void EnginePass::countSuccess()
{
    ConversionControl::Counters &counters = m_context.control.counters(m_pass);
    ++counters.success;
    m_context.observer.countersChanged(m_pass, counters.success.load(), counters.failure.load());
}

void EnginePass::countFailure()
{
    ConversionControl::Counters &counters = m_context.control.counters(m_pass);
    ++counters.failure;
    m_context.observer.countersChanged(m_pass, counters.success.load(), counters.failure.load());
}

ToolRunner::Job EnginePass::toolJob(std::size_t index,
                                    const std::string &program,
                                    std::vector<std::string> arguments,
                                    const std::string &workingDirectory,
                                    std::vector<std::string> environment) const
{
    ToolRunner::Job job;
    job.tag = index;
    job.program = program;
    job.arguments = std::move(arguments);
    job.workingDirectory = workingDirectory;
    job.environment = {"CHRONEX_OUTPUT_DIR=" + m_context.outputDirectory,
                       "CHRONEX_TITLE=" + m_context.title};
    job.environment.insert(job.environment.end(), environment.begin(), environment.end());
    return job;
}

bool EnginePass::wasStarted(const ChildProcess::Result &result)
{
    return result.startError != ECANCELED;
}

std::string EnginePass::keepToolOutput(ConversionFile &file,
                                       const std::string &text,
                                       const std::string &message)
{
    file.appendToolOutput(text, message);
    OutputFile log;
    if (log.append(file.xlgName()) && log.write(text) && log.close())
        return {};
    return "The tool output file " + file.xlgName() + " " + log.problem() + ".";
}

std::string EnginePass::printTool(const std::string &command, const ChildProcess::Result &result)
{
    std::string text = result.output;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    text += separatorLine() + "\nExecuted:  " + command + " ==> "
            + std::to_string(result.returnCode) + "\n";
    // One write, so the lines of a run stay together whatever else is printed.
    m_context.console << text << std::flush;
    return text;
}

bool EnginePass::keepTool(ConversionFile &file,
                          const std::string &text,
                          const ChildProcess::Result &result)
{
    std::string toolOutput = result.output;
    if (!toolOutput.empty() && toolOutput.back() != '\n')
        toolOutput += '\n';
    // The tool's own words are the file's latest message; a run without any keeps the last one.
    const std::string problem = keepToolOutput(file, text, toolOutput);
    if (problem.empty())
        return true;
    reportFileError(file, problem);
    return false;
}

bool EnginePass::reportTool(ConversionFile &file,
                            const std::string &command,
                            const ChildProcess::Result &result)
{
    return keepTool(file, printTool(command, result), result);
}

void EnginePass::reportFileError(ConversionFile &file, const std::string &text)
{
    const std::string line = "Error:  " + text + "\n";
    m_context.console << line << std::flush;
    // A tool output file that cannot be written has been reported already: nothing more to do.
    keepToolOutput(file, line, text);
}

bool EnginePass::removeEarlierResults(ConversionFile &file, const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        std::error_code error;
        std::filesystem::remove(path, error);
        if (error) {
            reportFileError(file,
                            "The result " + path
                                + " of an earlier run cannot be removed: " + error.message() + ".");
            return false;
        }
    }
    return true;
}

namespace {

/// True when `entry` is `name` + "." + six letters or digits (a mkstemp name made from it),
/// with a "." in front when `hidden`.
bool isTemporaryOf(std::string_view entry, std::string_view name, bool hidden)
{
    constexpr std::size_t uniquePart = 6;
    if (hidden) {
        if (!entry.starts_with('.'))
            return false;
        entry.remove_prefix(1);
    }
    if (entry.size() != name.size() + 1 + uniquePart || !entry.starts_with(name)
        || entry[name.size()] != '.')
        return false;
    const std::string_view unique = entry.substr(name.size() + 1);
    return std::all_of(unique.begin(), unique.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0;
    });
}

} // namespace

void EnginePass::removeHalfWritten(const std::vector<std::string> &results)
{
    for (const std::string &result : results) {
        const std::string name = PathNames::fileName(result);
        std::error_code error;
        for (const auto &entry :
             std::filesystem::directory_iterator(PathNames::directory(result), error)) {
            const std::string entryName = entry.path().filename().string();
            if (isTemporaryOf(entryName, name, /*hidden=*/true)
                || isTemporaryOf(entryName, name, /*hidden=*/false)) {
                std::error_code ignored;
                std::filesystem::remove(entry.path(), ignored);
            }
        }
    }
}

bool EnginePass::expectResult(ConversionFile &file,
                              const std::string &tool,
                              const std::string &what,
                              const std::string &path)
{
    if (RegularFile::isRegular(path))
        return true;
    reportFileError(file, tool + " wrote no " + what + " " + path + ".");
    return false;
}
