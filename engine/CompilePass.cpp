#include "CompilePass.h"

#include "CompileArguments.h"
#include "ConversionFile.h"

#include <cerrno>
#include <ostream>

CompilePass::CompilePass(PassContext &context, std::string compileOptions)
    : EnginePass(context, ConversionObserver::Pass::Compile)
    , m_compileOptions(std::move(compileOptions))
{}

std::string CompilePass::startFailureText(int error)
{
    switch (error) {
    case ENOENT:
        return "Cannot find zmc2 in your path.";
    case EACCES:
    case ENOMEM:
    case EAGAIN:
    case E2BIG:
        return "Please close some applications.";
    default:
        return "An unknow error occurred in starting the process.";
    }
}

std::string CompilePass::startFailureMessage(int error)
{
    return "Error:  " + startFailureText(error);
}

void CompilePass::run()
{
    ToolRunner &runner = m_context.runner;
    const std::size_t count = m_context.files.size();
    try {
        for (std::size_t index = 0; index < count; ++index) {
            while (!runner.hasRoom())
                finish(runner.next());
            if (isCancelled())
                break;
            start(index);
        }
    } catch (...) {
        finishRunningTools([this](const ToolRunner::Completion &ended) { finish(ended); });
        throw;
    }
    finishRunningTools([this](const ToolRunner::Completion &ended) { finish(ended); });
}

bool CompilePass::start(std::size_t index)
{
    const std::size_t count = m_context.files.size();
    ConversionFile &file = *m_context.files[index];
    m_context.observer.fileStarted(m_pass, index, count);
    file.clearToolOutput();
    setState(file, 0x91);
    // The first pass over a file: whatever an earlier run left of its results goes, so that a
    // file that fails now leaves no older results that look like this run's.
    if (!removeEarlierResults(file,
                              {file.adtName(),
                               file.xlgName(),
                               file.xcaName(),
                               file.xrlName(),
                               file.cvtName(),
                               file.crsName()})) {
        judge(file, 0x18);
        return false;
    }
    const CompileArguments arguments(m_compileOptions, file.fullPath());
    m_context.runner.start(toolJob(index, "zmc2", arguments.arguments(), file.sourceDirectory()));
    return true;
}

void CompilePass::finish(const ToolRunner::Completion &completion)
{
    const ChildProcess::Result &result = completion.result;
    if (!wasStarted(result))
        return;
    ConversionFile &file = *m_context.files[completion.tag];
    if (result.signalled)
        removeHalfWritten({file.adtName()});
    const CompileArguments arguments(m_compileOptions, file.fullPath());
    if (result.startError != 0)
        reportFileError(file, startFailureText(result.startError));
    const bool kept = reportTool(file, "zmc2 " + arguments.text(), result);
    // A file whose driver was killed by a cancel keeps its running state.
    if (isCancelled())
        return;

    switch (result.returnCode) {
    case 0:
    case 4:
        // The analysis needs the data the driver was asked to write.
        if (!kept || !expectResult(file, "The compiler driver", "analysis data", file.adtName()))
            judge(file, 0x18);
        else
            judge(file, result.returnCode == 0 ? 0x11 : 0x12);
        return;
    case 8:
        judge(file, 0x14);
        return;
    default:
        judge(file, 0x18);
        return;
    }
}

void CompilePass::judge(ConversionFile &file, std::uint8_t state)
{
    setState(file, state);
    if (hasSevereError(state))
        countFailure();
    else
        countSuccess();
    m_context.observer.filesDone(m_pass, ++m_done, m_context.files.size());
}
