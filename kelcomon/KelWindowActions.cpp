#include "KelWindowActions.h"

#include "KelHelpViewer.h"
#include "KelWindow.h"
#include "KelresrcResourceIds.h"

using Latching = KelWindowAction::Latching;

KelControl::KelControl(QObject *owner)
    : KelWindowAction(KelRes::controlGraphCommand, KelWindow::basicCategory(), Latching::no, owner)
{}

bool KelControl::performAction()
{
    window()->openObjControlGraph();
    return true;
}

KelRelatedP::KelRelatedP(QObject *owner)
    : KelWindowAction(KelRes::relatedProgramsCommand,
                      KelWindow::basicCategory(),
                      Latching::no,
                      owner)
{}

bool KelRelatedP::performAction()
{
    window()->openObjRelatedPrograms();
    return true;
}

KelSymbolsU::KelSymbolsU(QObject *owner)
    : KelWindowAction(KelRes::symbolsUsedCommand, KelWindow::basicCategory(), Latching::no, owner)
{}

bool KelSymbolsU::performAction()
{
    window()->openObjSymbolsUsed();
    return true;
}

KelRelatedS::KelRelatedS(QObject *owner)
    : KelWindowAction(KelRes::relatedSourceCommand, KelWindow::basicCategory(), Latching::no, owner)
{}

bool KelRelatedS::performAction()
{
    window()->openObjRelatedSourceMembers();
    return true;
}

KelCompiledS::KelCompiledS(QObject *owner)
    : KelWindowAction(KelRes::expandedSourceCommand,
                      KelWindow::basicCategory(),
                      Latching::no,
                      owner)
{}

bool KelCompiledS::performAction()
{
    window()->openObjExpandedSource();
    return true;
}

KelRequestScrl::KelRequestScrl(QObject *owner)
    : KelWindowAction(KelRes::requestScrollCommand,
                      KelWindow::basicCategory(),
                      Latching::yes,
                      owner)
{}

bool KelRequestScrl::performAction()
{
    window()->setrequestscroll();
    return true;
}

KelScrollOnRequest::KelScrollOnRequest(QObject *owner)
    : KelWindowAction(KelRes::scrollOnRequestCommand,
                      KelWindow::basicCategory(),
                      Latching::yes,
                      owner)
{}

bool KelScrollOnRequest::performAction()
{
    window()->setscrollonrequest();
    return true;
}

KelSurfonScrl::KelSurfonScrl(QObject *owner)
    : KelWindowAction(KelRes::surfOnScrollCommand, KelWindow::basicCategory(), Latching::yes, owner)
{}

bool KelSurfonScrl::performAction()
{
    window()->setsurfonscroll();
    return true;
}

KelSaveWindow::KelSaveWindow(QObject *owner)
    : KelWindowAction(KelRes::savePlacementCommand, KelWindow::basicCategory(), Latching::no, owner)
{}

bool KelSaveWindow::performAction()
{
    window()->savewindowpreferences();
    return true;
}

KelPMWindow::KelPMWindow(QObject *owner)
    : KelWindowAction(KelRes::restoreOriginalPlacementCommand,
                      KelWindow::basicCategory(),
                      Latching::no,
                      owner)
{}

bool KelPMWindow::performAction()
{
    window()->restorePMwindow();
    return true;
}

KelRestoreWindow::KelRestoreWindow(QObject *owner)
    : KelWindowAction(KelRes::restoreSavedPlacementCommand,
                      KelWindow::basicCategory(),
                      Latching::no,
                      owner)
{}

bool KelRestoreWindow::performAction()
{
    window()->restorewindow();
    return true;
}

KelWindowExit::KelWindowExit(QObject *owner)
    : KelWindowAction(KelRes::closeWindowCommand, KelWindow::exitCategory(), Latching::no, owner)
{}

bool KelWindowExit::performAction()
{
    window()->theEnd();
    return true;
}

KelHelpFileAction::KelHelpFileAction(unsigned long commandId, const char *helpFile, QObject *owner)
    : KelWindowAction(commandId, KelWindow::basicCategory(), Latching::no, owner)
    , m_helpFile(helpFile)
{}

bool KelHelpFileAction::performAction()
{
    // The viewer is started from the GUI thread (QProcess is a QObject); it runs detached, so
    // nothing waits for it. Without a viewer the same help shows in this process.
    const QString helpFile = QString::fromLatin1(m_helpFile);
    window()->callOnGuiThread([this, helpFile] {
        m_command = KelHelpViewer::command(helpFile);
        if (!KelHelpViewer::start(m_command))
            KelHelpViewer::showInProcess(helpFile);
    });
    return true;
}

QStringList KelHelpFileAction::lastCommand() const
{
    return m_command;
}

KelTutorial::KelTutorial(QObject *owner)
    : KelHelpFileAction(KelRes::tutorialCommand, KelHelpViewer::tutorialFile, owner)
{}

KelHelp::KelHelp(QObject *owner)
    : KelHelpFileAction(KelRes::helpCommand, KelHelpViewer::helpFile, owner)
{}

KelLogToggle::KelLogToggle(QObject *owner)
    : KelWindowAction(KelRes::exceptionLogCommand,
                      KelWindow::simpleCategory(),
                      Latching::yes,
                      owner)
{}

bool KelLogToggle::performAction()
{
    const int state = m_state.load() == 0 ? 1 : 0;
    m_state.store(state);
    setLatched(state == 1);
    window()->log(state);
    return true;
}
