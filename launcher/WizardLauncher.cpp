#include "WizardLauncher.h"

#include "CompilerOptionsLibrary.h"
#include "EMessageBox.h"
#include "IException.h"
#include "InputSettings.h"
#include "InstallPaths.h"
#include "KelwizResourceIds.h"
#include "LaunchRequest.h"
#include "PathNames.h"
#include "Process.h"
#include "ResourceLibrary.h"
#include "SettingsFile.h"
#include "TerminationCleanup.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace {

/// Set to 1 by tests that run the launcher as a process: message boxes that wait for the user
/// are answered at once, as if the user had pressed their default button.
bool answersBoxesByItself()
{
    return qEnvironmentVariable("CHRONEX_LAUNCHER_AUTOANSWER") == QLatin1String("1");
}

} // namespace

WizardLauncher::WizardLauncher(std::vector<std::string> arguments, const ResourceLibrary &resources)
    : m_arguments(std::move(arguments))
    , m_resources(resources)
{}

int WizardLauncher::run()
{
    EMessageBox waitingBox(nullptr, EMessageBox::noButtons, EMessageBox::noBitmap);
    waitingBox.setObjectName(QStringLiteral("waitingBox"));
    waitingBox.addLine(m_resources.loadString(KelwizRes::waitingFirst));
    waitingBox.addLine();
    waitingBox.addLine();
    waitingBox.addLine(m_resources.loadString(KelwizRes::waitingSecond));
    m_waitingBox = &waitingBox;
    const auto windowHandle = static_cast<unsigned long>(waitingBox.winId());

    std::unique_ptr<QThread> worker(
        QThread::create([this, windowHandle] { prepareSettings(windowHandle); }));
    QEventLoop workerEnded;
    connect(worker.get(), &QThread::finished, &workerEnded, &QEventLoop::quit);
    worker->start();
    if (!m_waitingDone)
        waitingBox.show();
    // The user may close the box before the worker is done (Escape): the request is read only
    // after the worker has ended, and the worker may still need the GUI thread for its message.
    if (!worker->isFinished())
        workerEnded.exec();
    worker->wait();
    m_waitingBox.clear();

    try {
        std::ostringstream text;
        InputSettings::instance().write(text);
        SettingsFile settingsFile;
        settingsFile.write(text.str());
        std::cout << text.str() << std::flush;
        return runWizard(settingsFile.path());
    } catch (const IException &error) {
        std::cout << "Error:  " << error.what() << std::endl;
        return severeFailure;
    }
}

void WizardLauncher::prepareSettings(unsigned long windowHandle)
{
    // Nothing may leave the worker thread: whatever goes wrong, the waiting box is closed and
    // the wizard still starts on what could be filled.
    try {
        fillSettings(windowHandle);
    } catch (const std::exception &error) {
        std::cout << "Error:  " << error.what() << std::endl;
    } catch (...) {
        std::cout << "Error:  The compiler options could not be read." << std::endl;
    }
    QMetaObject::invokeMethod(this, &WizardLauncher::finishWaiting, Qt::QueuedConnection);
}

void WizardLauncher::fillSettings(unsigned long windowHandle)
{
    InputSettings &settings = InputSettings::instance();
    if (LaunchRequest::fillSettings(m_arguments, settings) == LaunchRequest::Fill::Nothing)
        return;
    // Refused when the list is built, so that the wizard is handed a request it can run.
    m_leftOut = LaunchRequest::leaveOutUnusable(settings);
    if (!m_leftOut.empty()) {
        for (const std::string &problem : m_leftOut)
            std::cout << "Error:  " << problem << std::endl;
        QMetaObject::invokeMethod(this, &WizardLauncher::showLeftOut, Qt::BlockingQueuedConnection);
    }
    if (!settings.projectName.empty()) {
        std::cout << "Calling with (" << settings.projectName << "," << windowHandle << ","
                  << CompilerOptionsLibrary::bufferSize << ")" << std::endl;
        CompilerOptionsLibrary library;
        std::string options;
        QString error;
        if (!library.commandLine(settings.projectName, windowHandle, options, error)) {
            if (!error.isEmpty())
                std::cout << "Error:  " << error.toStdString() << std::endl;
            options.clear();
            QMetaObject::invokeMethod(this,
                                      &WizardLauncher::showOptionsFailure,
                                      Qt::BlockingQueuedConnection);
        }
        settings.compileOptions = LaunchRequest::withoutPlaceholders(options);
    }
}

void WizardLauncher::showOptionsFailure()
{
    EMessageBox failure(m_waitingBox, EMessageBox::okButton, EMessageBox::warningBitmap);
    failure.setObjectName(QStringLiteral("optionsFailureBox"));
    failure.addLine(m_resources.loadString(KelwizRes::compilerOptionsUnreadable));
    if (answersBoxesByItself())
        QTimer::singleShot(0, &failure, [&failure] { failure.close(); });
    failure.show();
}

void WizardLauncher::showLeftOut()
{
    EMessageBox box(m_waitingBox, EMessageBox::okButton, EMessageBox::warningBitmap);
    box.setObjectName(QStringLiteral("leftOutBox"));
    for (const std::string &problem : m_leftOut)
        box.addLine(QString::fromStdString(problem));
    if (answersBoxesByItself())
        QTimer::singleShot(0, &box, [&box] { box.close(); });
    box.show();
}

void WizardLauncher::finishWaiting()
{
    m_waitingDone = true;
    if (m_waitingBox && m_waitingBox->isVisible())
        m_waitingBox->close();
}

int WizardLauncher::runWizard(const std::string &settingsPath)
{
    // The wizard that belongs to this launcher is the one installed beside it.
    std::string program = PathNames::join(InstallPaths::binDirectory(), "kelwiz");
    if (::access(program.c_str(), X_OK) != 0)
        program = "kelwiz";

    const pid_t child = startProcess(program, std::vector<std::string>{settingsPath}, {});
    if (child < 0) {
        std::cout << "Error:  The wizard program " << program
                  << " could not be started: " << std::strerror(errno) << std::endl;
        return severeFailure;
    }
    TerminationCleanup::setChild(child);
    const ProcessResult result = waitForProcess(child);
    TerminationCleanup::setChild(0);
    switch (result.ending) {
    case ProcessResult::Ending::Exited:
        return result.exitCode;
    case ProcessResult::Ending::Signalled:
        std::cout << "Error:  The wizard program " << program << " was ended by signal "
                  << result.signal << "." << std::endl;
        return severeFailure;
    case ProcessResult::Ending::WaitFailed:
        std::cout << "Error:  The wizard program " << program
                  << " could not be waited for: " << std::strerror(errno) << std::endl;
        return severeFailure;
    }
    return severeFailure;
}
