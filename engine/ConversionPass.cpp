#include "ConversionPass.h"

#include "ConversionFile.h"
#include "ConversionOptionsFile.h"
#include "IException.h"
#include "PathNames.h"

#include <filesystem>
#include <fstream>
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

void ConversionPass::appendFindings(const std::string &xcaPath, std::ostream &log)
{
    std::ifstream in(xcaPath, std::ios::binary);
    char buffer[findingReadLength + 1];
    while (in) {
        in.getline(buffer, sizeof buffer);
        const std::streamsize read = in.gcount();
        if (read == 0 && !in)
            break;
        if (in.fail() && !in.eof())
            in.clear(); // a longer line: its rest is the next read
        std::string piece(buffer);
        if (!piece.empty() && piece.back() == '\r')
            piece.pop_back();
        log << piece << "\n";
        if (in.eof())
            break;
    }
}

void ConversionPass::convert(ConversionFile &file, std::ostream &log)
{
    setState(file, 0x94);
    std::error_code error;
    if (fs::exists(file.xcaName(), error))
        appendFindings(file.xcaName(), log);

    const std::string optionsPath = m_optionsFile.write(file.fullPath(),
                                                        file.cvtName(),
                                                        file.xcaName(),
                                                        m_context.outputDirectory,
                                                        m_context.console);
    const ChildProcess::Result result = runTool("vyquext",
                                                {"/h", file.fullPath()},
                                                file.sourceDirectory());
    printExecuted("vyquext /h " + file.fullPath(), result.returnCode);

    error.clear();
    fs::copy_file(file.sourceCrsName(),
                  file.crsName(),
                  fs::copy_options::overwrite_existing,
                  error);
    if (!error)
        fs::remove(file.sourceCrsName(), error);
    ConversionOptionsFile::remove(optionsPath);
    if (isCancelled())
        return;

    if (result.returnCode == 0) {
        setState(file, 0x81);
        countSuccess();
    } else if (result.returnCode >= 1 && result.returnCode <= 8) {
        setState(file, 0x82);
        countSuccess();
    } else {
        setState(file, 0x88);
        countFailure();
    }
}

void ConversionPass::run()
{
    const std::string logPath = PathNames::join(m_context.outputDirectory, "chxconv.log");
    std::ofstream log(logPath, std::ios::binary | std::ios::trunc);
    if (!log) {
        m_context.console << "Error:  The conversion log " << logPath << " cannot be written."
                          << std::endl;
        throw IAccessError("The conversion log " + logPath + " cannot be written.");
    }

    const std::size_t count = m_context.files.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (isCancelled())
            return;
        ConversionFile &file = *m_context.files[index];
        if (hasSevereError(file.state()))
            continue;
        m_context.observer.fileStarted(m_pass, index, count);
        convert(file, log);
        log.flush();
        if (isCancelled())
            return;
    }
}
