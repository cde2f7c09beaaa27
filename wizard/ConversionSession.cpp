#include "ConversionSession.h"

#include "ConversionFile.h"
#include "ConversionProgressWindow.h"
#include "ConversionThreadFn.h"
#include "ConversionWizard.h"
#include "EMessageBox.h"
#include "KelwizResourceIds.h"
#include "Process.h"
#include "ResourceLibrary.h"

#include <QApplication>
#include <QEventLoop>

#include <ostream>

ConversionSession::ConversionSession(ConversionWizard &wizard,
                                     const ResourceLibrary &resources,
                                     std::ostream &console)
    : m_wizard(wizard)
    , m_resources(resources)
    , m_console(console)
{}

ConversionSession::~ConversionSession()
{
    // The window is the engine's observer and holds its control: the engine goes first.
    if (m_engine.joinable() && m_window && m_window->isRunning())
        m_window->control().cancel();
    joinEngine();
}

void ConversionSession::joinEngine()
{
    if (m_engine.joinable())
        m_engine.join();
}

void ConversionSession::start()
{
    ConversionFile::setOutputDirectory(m_wizard.outputDirectory());
    // The session's own loop ends with the window; the application must not quit by itself
    // then, or the message box about the project tool could not be shown.
    QApplication::setQuitOnLastWindowClosed(false);
    m_window = std::make_unique<ConversionProgressWindow>(m_wizard, m_resources);
    m_window->show();
    m_engine = std::thread(ConversionThreadFn(*m_window, m_wizard, m_projectPath, m_console));
}

void ConversionSession::waitForWindowClose()
{
    if (!m_window)
        return;
    QEventLoop loop;
    QObject::connect(m_window.get(), &ConversionProgressWindow::closed, &loop, &QEventLoop::quit);
    if (m_window->isVisible())
        loop.exec();
    // A window closed while the run went on has cancelled it; its last child is being killed.
    joinEngine();
}

bool ConversionSession::openProject()
{
    if (m_projectPath.empty())
        return false;
    // An argument vector keeps a path with blanks in one piece: no quotes are added around it.
    const pid_t pid = startProcess(projectTool, std::vector<std::string>{m_projectPath}, {});
    if (pid > 0)
        return true;

    const auto text = [this](unsigned long id) {
        return m_resources.hasString(id) ? m_resources.loadString(id) : QString();
    };
    EMessageBox box(nullptr, EMessageBox::okButton, EMessageBox::errorBitmap);
    box.addLine(text(KelwizRes::projectToolNotStarted)
                + QString::fromStdString(m_wizard.outputDirectory()) + u'.');
    box.show();
    return false;
}

int ConversionSession::run()
{
    start();
    waitForWindowClose();
    openProject();
    return 0;
}
