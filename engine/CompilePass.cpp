#include "CompilePass.h"

#include "CompileArguments.h"
#include "ConversionFile.h"

#include <cerrno>
#include <ostream>

CompilePass::CompilePass(PassContext &context, std::string compileOptions)
    : EnginePass(context, ConversionObserver::Pass::Compile)
    , m_compileOptions(std::move(compileOptions))
{}

std::string CompilePass::startFailureMessage(int error)
{
    switch (error) {
    case ENOENT:
        return "Error:  Cannot find zmc2 in your path.";
    case EACCES:
    case ENOMEM:
    case EAGAIN:
    case E2BIG:
        return "Error:  Please close some applications.";
    default:
        return "Error:  An unknow error occurred in starting the process.";
    }
}

void CompilePass::run()
{
    const std::size_t count = m_context.files.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (isCancelled())
            return;
        ConversionFile &file = *m_context.files[index];
        m_context.observer.fileStarted(m_pass, index, count);
        setState(file, 0x91);

        const CompileArguments arguments(m_compileOptions, file.fullPath());
        const ChildProcess::Result result = runTool("zmc2",
                                                    arguments.arguments(),
                                                    file.sourceDirectory());
        if (result.startError != 0)
            m_context.console << startFailureMessage(result.startError) << std::endl;
        printExecuted("zmc2 " + arguments.text(), result.returnCode);
        if (isCancelled())
            return;

        switch (result.returnCode) {
        case 0:
            setState(file, 0x11);
            countSuccess();
            break;
        case 4:
            setState(file, 0x12);
            countSuccess();
            break;
        case 8:
            setState(file, 0x14);
            countFailure();
            break;
        default:
            setState(file, 0x18);
            countFailure();
            break;
        }
    }
}
