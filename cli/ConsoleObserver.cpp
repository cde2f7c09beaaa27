#include "ConsoleObserver.h"

#include "WizardTexts.h"

#include <ostream>

ConsoleObserver::ConsoleObserver(std::ostream *progress)
    : m_progress(progress)
{}

const char *ConsoleObserver::passName(Pass pass)
{
    switch (pass) {
    case Pass::Compile:
        return "compile";
    case Pass::Analysis:
        return "analysis";
    case Pass::Conversion:
        return "conversion";
    }
    return "";
}

void ConsoleObserver::fileStateChanged(ConversionFile &, std::uint8_t) {}

void ConsoleObserver::fileStarted(Pass pass, std::size_t index, std::size_t count)
{
    if (m_progress)
        *m_progress << "kelconv: " << passName(pass) << " pass, file " << index + 1 << " of "
                    << count << std::endl;
}

void ConsoleObserver::countersChanged(Pass, unsigned, unsigned) {}

void ConsoleObserver::statusText(unsigned long, const std::string &) {}

void ConsoleObserver::childStarted(pid_t) {}

void ConsoleObserver::childEnded(pid_t) {}

std::string ConsoleObserver::resourceText(unsigned long id)
{
    return WizardTexts::text(id);
}

void ConsoleObserver::informationMessage(const std::vector<std::string> &) {}

void ConsoleObserver::errorMessage(const std::vector<std::string> &) {}

void ConsoleObserver::runFinished(const std::string &projectPath, const std::string &errorText)
{
    m_projectPath = projectPath;
    m_errorText = errorText;
}
