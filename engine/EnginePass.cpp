#include "EnginePass.h"

#include "ConversionControl.h"
#include "ConversionFile.h"

#include <ostream>

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

ChildProcess::Result EnginePass::runTool(const std::string &program,
                                         const std::vector<std::string> &arguments,
                                         const std::string &workingDirectory)
{
    return ChildProcess::run(program,
                             arguments,
                             workingDirectory,
                             {"CHRONEX_OUTPUT_DIR=" + m_context.outputDirectory,
                              "CHRONEX_TITLE=" + m_context.title},
                             m_context.control,
                             &m_context.observer);
}

void EnginePass::printExecuted(const std::string &command, int returnCode)
{
    m_context.console << separatorLine() << "\n"
                      << "Executed:  " << command << " ==> " << returnCode << std::endl;
}
