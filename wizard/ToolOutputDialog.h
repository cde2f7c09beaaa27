#pragma once

#include <QDialog>

class ConversionFile;
class QPlainTextEdit;
class ResourceLibrary;

/// What the tools wrote for one source during the run, as the console showed it: the answer to
/// "why did this file fail?". Opened from the source's row in the progress window (double-click
/// or Enter); not modal, so the run goes on being shown meanwhile. It shows the output kept when
/// it was opened.
class ToolOutputDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int defaultWidth = 720;
    static constexpr int defaultHeight = 420;
    static constexpr int minimumWidth = 360;
    static constexpr int minimumHeight = 220;

    /// `stateText` is the text the row shows for the file's state; `resources` is KELWIZRS.
    ToolOutputDialog(const ConversionFile &file,
                     const QString &stateText,
                     const ResourceLibrary &resources,
                     QWidget *parent);

    QPlainTextEdit *outputView() const { return m_output; }

private:
    QPlainTextEdit *m_output = nullptr;
};
