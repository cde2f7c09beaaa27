#pragma once

#include "IFrameWindow.h"

#include <QString>

class DbAnalysisPageInfo;
class DbCompilerPageInfo;
class DbPropertyObserver;
class DbPu;
class DbSourcePageInfo;
class QPushButton;
class QTabWidget;

/// The property window of a program unit: a frame titled by KELRESRC 0xC200 and the unit's name,
/// with a notebook of three pages (DbSourcePageInfo, DbCompilerPageInfo, DbAnalysisPageInfo) and
/// a Cancel button that closes it.
///
/// The window deletes itself when closed. It takes from the unit what it shows while it is
/// built, so it never reads the unit afterwards; its observer (DbPropertyObserver) closes it when
/// the owner window given at construction goes away. open() shows one window per unit.
class DbPuPropertyWindow : public IFrameWindow
{
    Q_OBJECT

public:
    /// A new window over `pu`, closed when `owner` (may be null) is destroyed. Not shown yet.
    DbPuPropertyWindow(QWidget *owner, DbPu &pu);
    ~DbPuPropertyWindow() override;

    /// Shows the window of `pu`, making it when none is open, and brings it to the front.
    static DbPuPropertyWindow *open(QWidget *owner, DbPu &pu);

    QTabWidget *notebook() const { return m_notebook; }
    DbSourcePageInfo *sourcePage() const { return m_source; }
    DbCompilerPageInfo *compilerPage() const { return m_compiler; }
    DbAnalysisPageInfo *analysisPage() const { return m_analysis; }
    DbPropertyObserver *observer() const { return m_observer; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    /// Names the unit across windows: its database file and its source file.
    static QString unitKey(const DbPu &pu);

    QTabWidget *m_notebook;
    DbSourcePageInfo *m_source;
    DbCompilerPageInfo *m_compiler;
    DbAnalysisPageInfo *m_analysis;
    DbPropertyObserver *m_observer;
    QPushButton *m_cancel;
};
