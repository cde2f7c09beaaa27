#pragma once

// The actions of the view window base, one small class each (a family: every one performs one
// operation of its window and returns true). Ids, categories and latching:
//
//   KelControl          0x6002 basic          openObjControlGraph()
//   KelRelatedP         0x6003 basic          openObjRelatedPrograms()  (not owned by the base)
//   KelSymbolsU         0x6004 basic          openObjSymbolsUsed()
//   KelRelatedS         0x6005 basic          openObjRelatedSourceMembers()
//   KelCompiledS        0x6006 basic          openObjExpandedSource()
//   KelRequestScrl      0x6032 basic latching setrequestscroll()
//   KelScrollOnRequest  0x6033 basic latching setscrollonrequest()
//   KelSurfonScrl       0x6091 basic latching setsurfonscroll()
//   KelSaveWindow       0x6076 basic          savewindowpreferences()
//   KelPMWindow         0x6081 basic          restorePMwindow()
//   KelRestoreWindow    0x7020 basic          restorewindow()
//   KelWindowExit       0x3117 exit           theEnd()
//   KelTutorial         1500   basic          starts the help viewer on "KELTUTE.HLP"
//   KelHelp             1300   basic          starts the help viewer on "KELHELP.HLP"
//   KelLogToggle        0x6109 simple latching flips its state (from 0) and calls log(state)

#include "KelWindowAction.h"

#include <QStringList>

#include <atomic>

class KelControl : public KelWindowAction
{
public:
    explicit KelControl(QObject *owner);
    bool performAction() override;
};

class KelRelatedP : public KelWindowAction
{
public:
    explicit KelRelatedP(QObject *owner);
    bool performAction() override;
};

class KelSymbolsU : public KelWindowAction
{
public:
    explicit KelSymbolsU(QObject *owner);
    bool performAction() override;
};

class KelRelatedS : public KelWindowAction
{
public:
    explicit KelRelatedS(QObject *owner);
    bool performAction() override;
};

class KelCompiledS : public KelWindowAction
{
public:
    explicit KelCompiledS(QObject *owner);
    bool performAction() override;
};

class KelRequestScrl : public KelWindowAction
{
public:
    explicit KelRequestScrl(QObject *owner);
    bool performAction() override;
};

class KelScrollOnRequest : public KelWindowAction
{
public:
    explicit KelScrollOnRequest(QObject *owner);
    bool performAction() override;
};

class KelSurfonScrl : public KelWindowAction
{
public:
    explicit KelSurfonScrl(QObject *owner);
    bool performAction() override;
};

class KelSaveWindow : public KelWindowAction
{
public:
    explicit KelSaveWindow(QObject *owner);
    bool performAction() override;
};

class KelPMWindow : public KelWindowAction
{
public:
    explicit KelPMWindow(QObject *owner);
    bool performAction() override;
};

class KelRestoreWindow : public KelWindowAction
{
public:
    explicit KelRestoreWindow(QObject *owner);
    bool performAction() override;
};

class KelWindowExit : public KelWindowAction
{
public:
    explicit KelWindowExit(QObject *owner);
    bool performAction() override;
};

/// Starts the help viewer, detached, on one help file (KelHelpViewer); when the viewer cannot
/// start, the window shows the same help in a help window of its own process.
class KelHelpFileAction : public KelWindowAction
{
public:
    KelHelpFileAction(unsigned long commandId, const char *helpFile, QObject *owner);
    bool performAction() override;
    /// The viewer's argument vector of the last start (program first).
    QStringList lastCommand() const;

private:
    const char *m_helpFile;
    QStringList m_command; // GUI thread
};

class KelTutorial : public KelHelpFileAction
{
public:
    explicit KelTutorial(QObject *owner);
};

class KelHelp : public KelHelpFileAction
{
public:
    explicit KelHelp(QObject *owner);
};

class KelLogToggle : public KelWindowAction
{
public:
    explicit KelLogToggle(QObject *owner);
    bool performAction() override;
    /// 0 or 1; any thread.
    int state() const { return m_state.load(); }

private:
    std::atomic<int> m_state{0};
};
