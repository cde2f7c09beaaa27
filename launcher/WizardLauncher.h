#pragma once

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class EMessageBox;
class ResourceLibrary;

/// The launcher's run: fills the conversion request from the command line and the project's
/// compiler options while a waiting box is shown, writes it to a temporary settings file, runs
/// the wizard on it and removes the file again.
///
/// Threads: the request is filled by a worker thread, which calls the compiler-options library
/// and hands every widget operation (the failure message, closing the waiting box) to the GUI
/// thread. The GUI thread reads the request only after the worker has ended.
class WizardLauncher final : public QObject
{
    Q_OBJECT

public:
    /// Exit code when the wizard could not be started or was ended by a signal.
    static constexpr int severeFailure = 16;

    /// `arguments` without the program name; `resources` is KELWIZRS.
    WizardLauncher(std::vector<std::string> arguments, const ResourceLibrary &resources);

    /// Runs the launcher; returns the wizard's exit status, or severeFailure.
    int run();

private:
    /// The worker's part: fill the request and close the waiting box.
    void prepareSettings(unsigned long windowHandle);
    /// Fills the request from the command line and fetches the project's compiler options.
    void fillSettings(unsigned long windowHandle);
    /// On the GUI thread: tells the user the compiler options could not be read.
    void showOptionsFailure();
    /// On the GUI thread: tells the user what was left out of the request (m_leftOut).
    void showLeftOut();
    /// On the GUI thread: the worker is done.
    void finishWaiting();
    /// Runs kelwiz on `settingsPath` and waits for it.
    int runWizard(const std::string &settingsPath);

    std::vector<std::string> m_arguments;
    const ResourceLibrary &m_resources;
    QPointer<EMessageBox> m_waitingBox;
    bool m_waitingDone = false; // GUI thread only
    /// Written by the worker before it hands showLeftOut to the GUI thread and waits.
    std::vector<std::string> m_leftOut;
};
