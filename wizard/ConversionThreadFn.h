#pragma once

#include "ConversionRun.h"

#include <iosfwd>
#include <string>

class ConversionProgressWindow;
class ConversionWizard;

/// The body of the wizard's conversion thread: runs the engine over the wizard's files and
/// reports to the progress window, which is the run's observer and holds its control.
///
/// Everything the run needs is copied from the wizard when the function object is made (on the
/// GUI thread, before the thread starts); the thread itself touches no widget. The project path
/// is written by the thread and may be read once it has ended.
class ConversionThreadFn final
{
public:
    /// Takes the files, seed file, output directory and title from `wizard`, and the compile
    /// options and the template project from the program's input settings. `projectPath` and
    /// `console` must outlive the thread; so must `window`.
    ConversionThreadFn(ConversionProgressWindow &window,
                       ConversionWizard &wizard,
                       std::string &projectPath,
                       std::ostream &console);

    /// Runs the conversion. Creates the output directory first when it does not exist. Never
    /// throws: whatever ends the run early is reported to the window as the run's end.
    void operator()() noexcept;

    const ConversionRun::Request &request() const { return m_request; }

private:
    ConversionProgressWindow &m_window;
    std::string &m_projectPath;
    std::ostream &m_console;
    ConversionRun::Request m_request;
};
