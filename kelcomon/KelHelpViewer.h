#pragma once

#include <QString>
#include <QStringList>

/// The help viewer of the analysis views: a program of its own ("hlpvu", tools/hlpvu) started
/// detached, with an argument vector and never through a shell, on a help file name:
///
///     hlpvu KELHELP.HLP        the views' help        (help library "kelhelp")
///     hlpvu KELTUTE.HLP        the tutorial           (help library "keltute")
///
/// A help file name stands for the HTML help library of the same name in lower case without
/// the extension, under <data dir>/help (XIHelpWindow::libraryForHelpFile).
///
/// The program is $CHRONEX_HELP_VIEWER when set (a path, or a name looked up on PATH), else
/// "hlpvu" beside the running program, else "hlpvu" on PATH.
class KelHelpViewer final
{
public:
    static constexpr const char *helpFile = "KELHELP.HLP";
    static constexpr const char *tutorialFile = "KELTUTE.HLP";

    static QString program();
    /// The argument vector for `helpFile`, program first.
    static QStringList command(const QString &helpFile);
    /// Starts the viewer on `helpFile` without waiting for it. False when it cannot start.
    static bool start(const QStringList &command);
    /// Shows the help of `helpFile` in a help window of this process (when the viewer cannot
    /// start). GUI thread.
    static void showInProcess(const QString &helpFile);
};
