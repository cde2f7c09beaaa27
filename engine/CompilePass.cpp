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
    const std::size_t count = m_context.files.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (isCancelled())
            return;
        ConversionFile &file = *m_context.files[index];
        m_context.observer.fileStarted(m_pass, index, count);
        file.clearToolOutput();
        setState(file, 0x91);
        const std::uint8_t state = compile(file);
        // A file whose driver was killed by a cancel keeps its running state.
        if (isCancelled())
            return;
        setState(file, state);
        if (hasSevereError(state))
            countFailure();
        else
            countSuccess();
    }
}

std::uint8_t CompilePass::compile(ConversionFile &file)
{
    // The first pass over a file: whatever an earlier run left of its results goes, so that a
    // file that fails now leaves no older results that look like this run's.
    if (!removeEarlierResults(file,
                              {file.adtName(),
                               file.xlgName(),
                               file.xcaName(),
                               file.xrlName(),
                               file.cvtName(),
                               file.crsName()}))
        return 0x18;

    const CompileArguments arguments(m_compileOptions, file.fullPath());
    const ChildProcess::Result result = runTool("zmc2",
                                                arguments.arguments(),
                                                file.sourceDirectory());
    if (result.startError != 0)
        reportFileError(file, startFailureText(result.startError));
    const bool kept = reportTool(file, "zmc2 " + arguments.text(), result);
    if (isCancelled())
        return 0x91;

    switch (result.returnCode) {
    case 0:
    case 4:
        // The analysis needs the data the driver was asked to write.
        if (!kept || !expectResult(file, "The compiler driver", "analysis data", file.adtName()))
            return 0x18;
        return result.returnCode == 0 ? 0x11 : 0x12;
    case 8:
        return 0x14;
    default:
        return 0x18;
    }
}
