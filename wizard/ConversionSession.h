#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <thread>

class ConversionProgressWindow;
class ConversionWizard;
class ResourceLibrary;

/// What the wizard program does after Finish: the progress window on the GUI thread and the
/// engine on a thread of its own, until the user closes the window; then the new project is
/// opened in the project tool.
///
///     ConversionSession session(wizard, resources);
///     session.run();           // start(), waitForWindowClose(), openProject()
class ConversionSession final
{
public:
    /// The name of the project tool, found on PATH.
    static constexpr const char *projectTool = "ruxwwkf1";

    /// `wizard` has finished; its values are what the run uses. `console` receives the engine's
    /// console lines. All three must outlive the session.
    ConversionSession(ConversionWizard &wizard,
                      const ResourceLibrary &resources,
                      std::ostream &console);
    /// Waits for the engine thread if it still runs (it has been cancelled by then when the
    /// window was closed early), then destroys the window.
    ~ConversionSession();

    /// Sets the program-wide output directory, shows the progress window and starts the engine
    /// thread.
    void start();
    /// Runs the event loop until the progress window closes, then waits for the engine thread.
    void waitForWindowClose();
    /// Starts the project tool on the project the run made, with the project path as its one
    /// argument, without waiting for it. Nothing happens when no project was made. When the
    /// tool cannot be started a message box (text 62465, the output directory and ".") says so.
    /// True when the tool was started.
    bool openProject();

    /// start(), waitForWindowClose() and openProject(); the program's exit status (always 0).
    int run();

    /// Null before start().
    ConversionProgressWindow *window() const { return m_window.get(); }
    /// The project the run made; empty when none (or while the engine still runs).
    const std::string &projectPath() const { return m_projectPath; }

private:
    void joinEngine();

    ConversionWizard &m_wizard;
    const ResourceLibrary &m_resources;
    std::ostream &m_console;
    std::unique_ptr<ConversionProgressWindow> m_window;
    /// Written by the engine thread, read after it has been joined.
    std::string m_projectPath;
    std::thread m_engine;
};
