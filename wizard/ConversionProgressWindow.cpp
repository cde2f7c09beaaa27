#include "ConversionProgressWindow.h"

#include "ConversionFile.h"
#include "ConversionWizard.h"
#include "EAnimation.h"
#include "EFont.h"
#include "EMessageBox.h"
#include "EStaticText.h"
#include "FileListContainer.h"
#include "FileStateDisplay.h"
#include "HelpViewer.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"
#include "TerminationCleanup.h"
#include "ToolOutputDialog.h"
#include "WizkitTexts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace {

constexpr int animationFrames = 20;
constexpr int animationSize = 96;
constexpr int animationDelay = 100;
/// Room left by the empty rows and columns of the canvases' grids.
constexpr int gap = 8;

template<typename W>
W *identified(W *widget, unsigned long id)
{
    widget->setObjectName(QStringLiteral("control%1").arg(id));
    widget->setProperty("controlId", QVariant::fromValue(qulonglong(id)));
    return widget;
}

void setColour(QWidget *widget, int number)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ConversionProgressWindow::colour(number));
    widget->setPalette(palette);
    widget->setProperty("colourNumber", number);
}

/// Leaves the empty rows and columns of a grid (the odd ones and those after the last used) at
/// a small fixed size, so the cells keep the places they were given.
void spaceGrid(QGridLayout *grid, int columns, int rows)
{
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    for (int column = 1; column <= columns; column += 2)
        grid->setColumnMinimumWidth(column, gap);
    for (int row = 1; row <= rows; row += 2)
        grid->setRowMinimumHeight(row, gap);
}

} // namespace

QColor ConversionProgressWindow::colour(int number)
{
    switch (number) {
    case red:
        return QColor(0xC0, 0x00, 0x00);
    case textColour:
        return QColor(0x20, 0x20, 0x20);
    case blue:
        return QColor(0x00, 0x00, 0xC0);
    case green:
        return QColor(0x00, 0x80, 0x00);
    case white:
        return QColor(0xFF, 0xFF, 0xFF);
    default:
        return QColor(0x00, 0x00, 0x00);
    }
}

ConversionProgressWindow::ConversionProgressWindow(ConversionWizard &wizard,
                                                   const ResourceLibrary &resources,
                                                   QWidget *parent)
    : QMainWindow(parent)
    , m_resources(resources)
    , m_wizard(wizard)
{
    setObjectName(QStringLiteral("conversionProgressWindow"));
    setProperty("windowId", QVariant::fromValue(qulonglong(windowId)));

    setCentralWidget(makeClient());
    showCounters();
    setStatusLine(text(KelwizRes::progressStartStatus));
    m_fileList->fill();

    if (resources.hasImage(KelwizRes::progressIcon))
        setWindowIcon(resources.loadIcon(KelwizRes::progressIcon));
    setWindowTitle(text(KelwizRes::wizardTitle));
    makeHelp();
    // Room for a few rows and for the longest status (a finished run with failed sources).
    setMinimumSize(minimumWidth, minimumHeight);
    resize(defaultWidth, defaultHeight);
}

ConversionProgressWindow::~ConversionProgressWindow() = default;

QString ConversionProgressWindow::text(unsigned long id) const
{
    return m_resources.hasString(id) ? m_resources.loadString(id) : QString();
}

QWidget *ConversionProgressWindow::makeClient()
{
    auto *client = identified(new QWidget, clientCanvasId);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, colour(white));
    client->setPalette(palette);
    client->setProperty("colourNumber", int(white));

    auto *grid = new QGridLayout(client);
    spaceGrid(grid, 5, 9);

    auto *heading = identified(new EStaticText(text(KelwizRes::progressHeading), client, headingId),
                               headingId);
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);
    setColour(heading, textColour);
    grid->addWidget(heading, 2, 2, 1, 3);

    m_fileList = new FileListContainer(m_wizard.files(),
                                       m_resources,
                                       FileListContainer::Form::Status,
                                       client,
                                       fileListId);
    grid->addWidget(m_fileList, 4, 2, 1, 3);
    grid->setRowStretch(4, 1);
    // Double-click or Enter on a row: what the tools wrote for that source.
    connect(m_fileList,
            &QTreeWidget::itemActivated,
            this,
            &ConversionProgressWindow::showToolOutput);

    grid->addWidget(makeCounterCanvas(), 6, 2);
    grid->addWidget(makeSideCanvas(), 6, 4, 3, 1);

    m_statusLine = identified(new EStaticText(client, statusLineId), statusLineId);
    setColour(m_statusLine, textColour);
    grid->addWidget(m_statusLine, 8, 2, 1, 2);
    grid->setColumnStretch(2, 1);
    return client;
}

QWidget *ConversionProgressWindow::makeCounterCanvas()
{
    auto *canvas = identified(new QWidget, counterCanvasId);
    auto *grid = new QGridLayout(canvas);
    spaceGrid(grid, 5, 0);
    grid->setVerticalSpacing(4);

    const struct
    {
        unsigned long labelId, labelText, successId, failureId;
    } rows[] = {
        {compiledLabelId, KelwizRes::compiledLabel, compiledSuccessId, compiledFailureId},
        {analysedLabelId, KelwizRes::analysedLabel, analysedSuccessId, analysedFailureId},
        {convertedLabelId, KelwizRes::convertedLabel, convertedSuccessId, convertedFailureId},
    };
    for (int row = 0; row < 3; ++row) {
        auto *label = identified(new EStaticText(text(rows[row].labelText),
                                                 canvas,
                                                 rows[row].labelId),
                                 rows[row].labelId);
        label->setWordWrap(false);
        setColour(label, blue);
        grid->addWidget(label, row + 1, 1);

        m_successFields[row] = identified(new EStaticText(canvas, rows[row].successId),
                                          rows[row].successId);
        m_successFields[row]->setWordWrap(false);
        setColour(m_successFields[row], textColour);
        grid->addWidget(m_successFields[row], row + 1, 3);

        m_failureFields[row] = identified(new EStaticText(canvas, rows[row].failureId),
                                          rows[row].failureId);
        m_failureFields[row]->setWordWrap(false);
        setColour(m_failureFields[row], red);
        // A failure must not be missed.
        QFont bold = m_failureFields[row]->font();
        bold.setBold(true);
        m_failureFields[row]->setFont(bold);
        grid->addWidget(m_failureFields[row], row + 1, 5);
    }
    grid->setColumnMinimumWidth(2, 2 * gap);
    grid->setColumnMinimumWidth(4, 2 * gap);
    grid->setColumnStretch(6, 1);
    return canvas;
}

QWidget *ConversionProgressWindow::makeSideCanvas()
{
    auto *side = identified(new QWidget, sideCanvasId);
    auto *grid = new QGridLayout(side);
    spaceGrid(grid, 3, 0);

    m_animation = identified(new EAnimation(side, animationId), animationId);
    m_animation->setSize(animationSize, animationSize);
    for (int i = 0; i < animationFrames; ++i) {
        const auto id = KelwizRes::animationFirstFrame + static_cast<unsigned long>(i);
        if (m_resources.hasImage(id))
            m_animation->addBitmapAsLast(m_resources.loadBitmap(id));
    }
    m_animation->setDelay(animationDelay);
    m_animation->begin();
    grid->addWidget(m_animation, 2, 2, Qt::AlignCenter);

    auto *buttonSet = identified(new QWidget(side), buttonSetId);
    auto *buttons = new QHBoxLayout(buttonSet);
    buttons->setContentsMargins(0, gap, 0, 0);
    m_cancelButton = identified(new QPushButton(text(KelwizRes::cancelButton), buttonSet),
                                cancelButtonId);
    m_helpButton = identified(new QPushButton(text(KelwizRes::helpButton), buttonSet),
                              helpButtonId);
    for (QPushButton *button : {m_cancelButton, m_helpButton}) {
        button->setFont(EFont::helper());
        buttons->addWidget(button);
    }
    grid->addWidget(buttonSet, 3, 1, 1, 3);
    grid->setRowStretch(4, 1);

    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_finished)
            close();
        else
            requestCancel();
    });
    connect(m_helpButton, &QPushButton::clicked, this, &ConversionProgressWindow::showHelp);
    return side;
}

void ConversionProgressWindow::makeHelp()
{
    // Without the page there is nothing to show: the button is disabled and says why.
    m_hasHelp = !HelpViewer::pagePath(text(KelwizRes::helpLibraryName), progressHelpId).isEmpty();
    if (m_hasHelp)
        return;
    m_helpButton->setEnabled(false);
    m_helpButton->setToolTip(text(KelwizRes::helpNotAvailable));
}

void ConversionProgressWindow::showHelp()
{
    HelpViewer::showPage(this,
                         text(KelwizRes::helpLibraryName),
                         progressHelpId,
                         text(KelwizRes::helpWindowTitle));
}

void ConversionProgressWindow::showToolOutput(QTreeWidgetItem *item)
{
    auto *row = static_cast<FileRow *>(item);
    auto *dialog = new ToolOutputDialog(row->record(),
                                        row->text(FileRow::textColumn),
                                        m_resources,
                                        this);
    dialog->show();
}

void ConversionProgressWindow::showCounters()
{
    const QString failureSuffix = text(KelwizRes::failedSuffix);
    const QString successSuffix = text(KelwizRes::succeededSuffix);
    for (int row = 0; row < 3; ++row) {
        Counts &counts = m_counts[row];
        m_failureFields[row]->setText(
            counts.failure != 0 ? QString::number(counts.failure) + failureSuffix : QString());
        if (counts.success != 0 && !counts.highlighted) {
            counts.highlighted = true;
            setColour(m_successFields[row], green);
        }
        m_successFields[row]->setText(QString::number(counts.success) + successSuffix);
    }
}

void ConversionProgressWindow::setStatusLine(const QString &text)
{
    m_statusLine->setText(text);
}

QWidget *ConversionProgressWindow::control(unsigned long id) const
{
    return findChild<QWidget *>(QStringLiteral("control%1").arg(id));
}

// --- Engine thread: hand everything to the GUI thread ------------------------------------------

void ConversionProgressWindow::fileStateChanged(ConversionFile &file, std::uint8_t)
{
    // The row's display is made here, on the thread that has just set the state: the counter
    // rule must count the states the file passed through, not the one it has when the GUI gets
    // round to drawing. (The engine thread is the only one that sets states.)
    const FileStateDisplay::Row display = FileStateDisplay::makeRow(file);
    ConversionFile *record = &file;
    QMetaObject::invokeMethod(
        this,
        [this, record, display] { m_fileList->remakeRow(*record, display); },
        Qt::QueuedConnection);
}

void ConversionProgressWindow::fileStarted(Pass, std::size_t index, std::size_t)
{
    QMetaObject::invokeMethod(
        this,
        [this, index] {
            if (FileRow *row = m_fileList->rowAt(int(index)))
                m_fileList->scrollToItem(row);
        },
        Qt::QueuedConnection);
}

void ConversionProgressWindow::countersChanged(Pass pass, unsigned success, unsigned failure)
{
    QMetaObject::invokeMethod(
        this,
        [this, pass, success, failure] {
            m_counts[index(pass)].success = success;
            m_counts[index(pass)].failure = failure;
            showCounters();
        },
        Qt::QueuedConnection);
}

void ConversionProgressWindow::statusText(unsigned long resourceId, const std::string &text)
{
    const QString line = resourceId != 0 && m_resources.hasString(resourceId)
                             ? m_resources.loadString(resourceId)
                             : QString::fromStdString(text);
    QMetaObject::invokeMethod(
        this,
        [this, line] {
            // A cancelled run keeps saying so while its last child ends.
            if (m_running)
                setStatusLine(line);
        },
        Qt::QueuedConnection);
}

// The process ids live in the control's slots, which the GUI thread reads when it needs them.
// A signal that ends the wizard meanwhile takes every running tool's process group with it.
// Called on the threads that run the tools; the registration is lock-free.
void ConversionProgressWindow::childStarted(pid_t pid)
{
    TerminationCleanup::addChildGroup(pid);
}

void ConversionProgressWindow::childEnded(pid_t pid)
{
    TerminationCleanup::removeChildGroup(pid);
}

std::string ConversionProgressWindow::resourceText(unsigned long id)
{
    // Lookups in a loaded library are safe from any thread.
    return m_resources.hasString(id) ? m_resources.loadString(id).toStdString() : std::string();
}

void ConversionProgressWindow::informationMessage(const std::vector<std::string> &lines)
{
    QMetaObject::invokeMethod(
        this,
        [this, lines] { showMessage(lines, EMessageBox::informationBitmap); },
        Qt::QueuedConnection);
}

void ConversionProgressWindow::errorMessage(const std::vector<std::string> &lines)
{
    QMetaObject::invokeMethod(
        this,
        [this, lines] { showMessage(lines, EMessageBox::errorBitmap); },
        Qt::QueuedConnection);
}

void ConversionProgressWindow::runFinished(const std::string &projectPath,
                                           const std::string &errorText)
{
    QMetaObject::invokeMethod(
        this,
        [this, projectPath, errorText] { endRun(projectPath, errorText); },
        Qt::QueuedConnection);
}

// --- GUI thread ------------------------------------------------------------------------------

void ConversionProgressWindow::showMessage(const std::vector<std::string> &lines, int bitmapStyle)
{
    EMessageBox box(this, EMessageBox::okButton, bitmapStyle);
    for (const std::string &line : lines)
        box.addLine(QString::fromStdString(line));
    box.show();
}

bool ConversionProgressWindow::confirm(unsigned long questionId)
{
    EMessageBox box(this, EMessageBox::yesNoButtons, EMessageBox::questionBitmap);
    box.addLine(text(questionId));
    return box.show() == EMessageBox::yes;
}

void ConversionProgressWindow::requestCancel()
{
    if (!m_running || m_finished)
        return;
    // The run may end while the question is open; then there is nothing left to cancel.
    if (confirm(KelwizRes::confirmCancel) && m_running && !m_finished)
        cancelRun();
}

void ConversionProgressWindow::cancelRun()
{
    // The spawn lock is held by the engine only while it creates a child, so cancelling here
    // waits at most for that: the GUI thread may do it directly.
    m_control.cancel();
    m_running = false;
    m_animation->end();
    m_cancelButton->setEnabled(false);
    setStatusLine(text(KelwizRes::statusCancelled));
}

void ConversionProgressWindow::endRun(const std::string &projectPath, const std::string &errorText)
{
    m_finished = true;
    m_running = false;
    m_projectPath = projectPath;
    m_animation->end();

    QString status;
    if (!errorText.empty())
        status = text(KelwizRes::statusStoppedByError) + u' ' + QString::fromStdString(errorText);
    else if (m_control.isCancelled())
        status = text(KelwizRes::statusCancelled);
    else if (!projectPath.empty())
        status = text(KelwizRes::finalProjectCreated);
    else
        status = text(KelwizRes::finalNoProject);
    // Failed sources are said in so many words, after whatever else the status says.
    int failed = 0;
    for (std::size_t i = 0; i < m_wizard.files().size(); ++i)
        failed += FileStateDisplay::isFailure(m_wizard.files().at(i).state()) ? 1 : 0;
    if (failed > 0) {
        status += u' '
                  + text(KelwizRes::statusFailedSources)
                        .arg(failed)
                        .arg(qulonglong(m_wizard.files().size()));
        setColour(m_statusLine, red);
        QFont bold = m_statusLine->font();
        bold.setBold(true);
        m_statusLine->setFont(bold);
    }
    setStatusLine(status);

    // Cancel has nothing left to do: it becomes the button that closes the window.
    m_cancelButton->setText(WizkitTexts::text(WizkitTexts::dialogOk));
    m_cancelButton->setEnabled(true);
    m_cancelButton->setDefault(true);
    m_cancelButton->setFocus();
}

void ConversionProgressWindow::closeEvent(QCloseEvent *event)
{
    if (m_running && !m_finished) {
        if (!confirm(KelwizRes::confirmCloseWhileRunning)) {
            event->ignore();
            return;
        }
        if (m_running && !m_finished)
            cancelRun();
    }
    if (auto *viewer = findChild<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly))
        viewer->close();
    event->accept();
    emit closed();
}
