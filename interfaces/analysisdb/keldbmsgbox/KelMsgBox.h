#pragma once

#include <memory>

class QMessageBox;
class QWidget;
struct KelMessage;

/// The message box display of the analysis database's messages (KelMsg), for programs with
/// widgets. `install()` once, after the QApplication exists: every KelMsg message is then shown
/// in a modal message box on the GUI thread. A message raised on another thread is handed to
/// the GUI thread (queued; the raising thread does not wait, so a GUI thread waiting for that
/// thread cannot deadlock). Without a QApplication, messages go to standard error as before.
class KelMsgBox final
{
public:
    static void install();
    /// Back to standard error.
    static void uninstall();

    /// The box for `message`: icon by severity, the library's title, the text, and the number
    /// with the module and line that showed it as informative text.
    static std::unique_ptr<QMessageBox> makeBox(const KelMessage &message, QWidget *parent);
};
