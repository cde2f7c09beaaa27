#include "FileSelectionCanvas.h"

#include "ConversionFile.h"
#include "ConversionFileCollection.h"
#include "ConversionInputs.h"
#include "EFileDialogEnhanced.h"
#include "EFont.h"
#include "EMessageBox.h"
#include "EStaticText.h"
#include "File.h"
#include "FileListContainer.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString controlName(unsigned long id)
{
    return QStringLiteral("control%1").arg(id);
}

bool isFile(const File &entry)
{
    return !entry.fullName().isEmpty() && QFileInfo(entry.fullName()).isFile();
}

} // namespace

FileSelectionCanvas::FileSelectionCanvas(QWidget *parent,
                                         unsigned long controlId,
                                         ConversionFileCollection &files,
                                         const ResourceLibrary &resources,
                                         const QString &startDirectory)
    : QWidget(parent)
{
    setObjectName(controlName(controlId));

    m_heading = new EStaticText(resources.loadString(KelwizRes::fileSelectionHeading),
                                this,
                                controlId + headingOffset);
    m_heading->setObjectName(controlName(controlId + headingOffset));
    m_heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_fileDialog = new EFileDialogEnhanced(this,
                                           startDirectory,
                                           QStringLiteral("cbl"),
                                           resources.loadString(KelwizRes::fileDialogLabel));
    m_fileDialog->addSpecifiedExtension(QStringLiteral("cbl"),
                                        resources.loadString(KelwizRes::fileTypeCbl));
    m_fileDialog->addSpecifiedExtension(QStringLiteral("cvt"),
                                        resources.loadString(KelwizRes::fileTypeCvt));
    m_fileDialog->addSpecifiedExtension(QStringLiteral("scb"),
                                        resources.loadString(KelwizRes::fileTypeScb));

    m_buttonCanvas = new QWidget(this);
    m_buttonCanvas->setObjectName(controlName(controlId + buttonCanvasOffset));
    auto *buttonLayout = new QVBoxLayout(m_buttonCanvas);
    buttonLayout->addStretch();
    m_addButton = new QPushButton(resources.loadString(KelwizRes::addButton), m_buttonCanvas);
    m_addButton->setObjectName(controlName(controlId + addButtonOffset));
    m_removeButton = new QPushButton(resources.loadString(KelwizRes::removeButton), m_buttonCanvas);
    m_removeButton->setObjectName(controlName(controlId + removeButtonOffset));
    for (QPushButton *button : {m_addButton, m_removeButton}) {
        button->setFont(EFont::helper());
        button->setEnabled(false);
        buttonLayout->addWidget(button);
    }
    buttonLayout->addStretch();

    m_listHeading = new EStaticText(resources.loadString(KelwizRes::filesToConvertHeading),
                                    this,
                                    controlId + listHeadingOffset);
    m_listHeading->setObjectName(controlName(controlId + listHeadingOffset));

    m_fileList = new FileListContainer(files,
                                       resources,
                                       FileListContainer::Form::Plain,
                                       this,
                                       controlId + fileListOffset);
    m_fileList->setObjectName(controlName(controlId + fileListOffset));
    m_fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    // Cells as (row, column); row and column 0 stay empty so the numbers read as on paper.
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_heading, 1, 2, 1, 5);
    grid->addWidget(m_fileDialog, 3, 2, 2, 1);
    grid->addWidget(m_buttonCanvas, 3, 4, 2, 1);
    grid->addWidget(m_listHeading, 3, 6);
    grid->addWidget(m_fileList, 4, 6);
    // The browser and the list share the width alike: the same minimum, the same stretch, and
    // neither asks for more because of what it holds (the browser's own rows would otherwise
    // squeeze the list to a sliver that cuts eight-character member names).
    const int minimumWidth = std::max(listMinimumWidth, m_fileList->minimumNameWidth());
    for (QWidget *side :
         {static_cast<QWidget *>(m_fileDialog), static_cast<QWidget *>(m_fileList)}) {
        side->setSizePolicy(QSizePolicy::Ignored, side->sizePolicy().verticalPolicy());
        side->setMinimumWidth(minimumWidth);
    }
    for (const int column : {2, 6}) {
        grid->setColumnMinimumWidth(column, minimumWidth);
        grid->setColumnStretch(column, 10);
    }
    for (const int column : {1, 7}) {
        grid->setColumnMinimumWidth(column, 10);
        grid->setColumnStretch(column, 1);
    }
    grid->setRowMinimumHeight(4, 3);
    grid->setRowStretch(4, 1);
    grid->setRowMinimumHeight(5, 10);
    grid->setRowStretch(5, 0);

    connect(m_fileDialog, &EFileDialogEnhanced::selectionChanged, this, [this] {
        updateAddButton();
    });
    connect(m_fileDialog, &EFileDialogEnhanced::entryActivated, this, [this] {
        addSelectedFiles(Report::Now);
    });
    connect(m_fileList, &QTreeWidget::itemSelectionChanged, this, [this] { updateRemoveButton(); });
    connect(m_addButton, &QPushButton::clicked, this, [this] { postCommand(addEventType); });
    connect(m_removeButton, &QPushButton::clicked, this, [this] { postCommand(removeEventType); });

    m_fileList->postFill();
}

FileSelectionCanvas::~FileSelectionCanvas()
{
    // A command posted but not yet handled dies with the canvas: give the frame back.
    endWait();
}

void FileSelectionCanvas::postCommand(QEvent::Type type)
{
    if (!m_commandPending) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_waitingFrame = window();
        m_waitingFrame->setEnabled(false);
        m_commandPending = true;
    }
    QCoreApplication::postEvent(this, new QEvent(type));
}

void FileSelectionCanvas::endWait()
{
    if (!m_commandPending)
        return;
    m_commandPending = false;
    QApplication::restoreOverrideCursor();
    if (m_waitingFrame)
        m_waitingFrame->setEnabled(true);
}

bool FileSelectionCanvas::event(QEvent *event)
{
    if (event->type() != addEventType && event->type() != removeEventType)
        return QWidget::event(event);
    QStringList refused;
    if (event->type() == addEventType)
        refused = addSelectedFiles(Report::Later);
    else
        removeSelectedRows();
    endWait();
    // Told once the wizard takes input again.
    reportRefused(refused);
    return true;
}

QStringList FileSelectionCanvas::addSelectedFiles(Report report)
{
    QStringList refused;
    const ConversionFileCollection &files = m_fileList->collection();
    for (auto cursor = m_fileDialog->selectionCursor(); cursor.isValid(); cursor.setToNext()) {
        if (!isFile(cursor.current()))
            continue;
        const std::string path = File(cursor.current().fullName()).fullPath();
        if (const ConversionFile *first = files.sameBaseName(path)) {
            refused << QString::fromStdString(
                ConversionInputs::baseNameConflictMessage(first->fullPath(), path));
            continue;
        }
        m_fileList->addNewFile(cursor.current().fullName());
    }
    m_fileList->viewport()->update();
    if (report == Report::Now)
        reportRefused(refused);
    return refused;
}

void FileSelectionCanvas::reportRefused(const QStringList &messages)
{
    if (messages.isEmpty())
        return;
    EMessageBox box(window(), EMessageBox::okButton, EMessageBox::warningBitmap);
    box.setObjectName(QStringLiteral("sameBaseNameBox"));
    for (const QString &message : messages)
        box.addLine(message);
    box.show();
}

void FileSelectionCanvas::removeSelectedRows()
{
    for (ConversionFile *record : m_fileList->selectedRecords())
        m_fileList->removeRecord(*record);
    updateRemoveButton();
}

void FileSelectionCanvas::updateAddButton()
{
    m_addButton->setEnabled(isFile(m_fileDialog->getSelected()));
}

void FileSelectionCanvas::updateRemoveButton()
{
    m_removeButton->setEnabled(!m_fileList->selectedItems().isEmpty());
}
