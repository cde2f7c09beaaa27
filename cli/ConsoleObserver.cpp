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

void ConsoleObserver::fileStarted(Pass, std::size_t, std::size_t) {}

void ConsoleObserver::filesDone(Pass pass, std::size_t done, std::size_t count)
{
    // Each loop of the analysis pass counts its files from 1 again.
    if (pass == Pass::Analysis && done == 1)
        ++m_analysisLoop;
    // Told on the engine's thread only, like the console lines, so lines never mix.
    if (!m_progress)
        return;
    *m_progress << "kelconv: " << passName(pass) << " pass";
    if (pass == Pass::Analysis)
        *m_progress << ", loop " << m_analysisLoop;
    *m_progress << ": " << done << " of " << count << " files done" << std::endl;
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
