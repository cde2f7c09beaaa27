#include "SummaryCanvas.h"

#include "EStaticText.h"
#include "FileListContainer.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

#include <QGridLayout>

namespace {

EStaticText *addText(QWidget *canvas, unsigned long id, const QString &markup)
{
    auto *text = new EStaticText(markup, canvas, id);
    text->setObjectName(QStringLiteral("control%1").arg(id));
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return text;
}

} // namespace

QString SummaryCanvas::valueLine(const QString &label, const std::string &value)
{
    return label + QStringLiteral("<color=black>") + QString::fromStdString(value)
           + QStringLiteral("</color></size>");
}

SummaryCanvas::SummaryCanvas(QWidget *parent,
                             unsigned long controlId,
                             ConversionFileCollection &files,
                             const ResourceLibrary &resources,
                             const std::string &seedFile,
                             const std::string &outputDirectory,
                             const std::string &conversionTitle)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("control%1").arg(controlId));
    const auto text = [&resources](unsigned long id) { return resources.loadString(id); };

    EStaticText *heading = addText(this,
                                   controlId + headingOffset,
                                   text(KelwizRes::summaryHeading));
    EStaticText *listHeading = addText(this,
                                       controlId + listHeadingOffset,
                                       text(KelwizRes::summaryListHeading));
    m_fileList = new FileListContainer(files,
                                       resources,
                                       FileListContainer::Form::Plain,
                                       this,
                                       controlId + fileListOffset);
    m_fileList->setObjectName(QStringLiteral("control%1").arg(controlId + fileListOffset));
    m_fileList->setSelectionMode(QAbstractItemView::NoSelection);
    m_seedFile = addText(this,
                         controlId + seedFileOffset,
                         valueLine(text(KelwizRes::summarySeedFile), seedFile));
    m_outputDirectory = addText(this,
                                controlId + outputDirectoryOffset,
                                valueLine(text(KelwizRes::summaryOutputDirectory),
                                          outputDirectory));
    m_title = addText(this,
                      controlId + titleOffset,
                      valueLine(text(KelwizRes::summaryTitle), conversionTitle));
    EStaticText *closing = addText(this,
                                   controlId + closingOffset,
                                   text(KelwizRes::summaryClosing));

    // Cells as (row, column); row and column 0 stay empty so the numbers read as on paper.
    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 1, 2, 1, 5);
    grid->addWidget(listHeading, 3, 2);
    grid->addWidget(m_fileList, 4, 2);
    grid->addWidget(m_seedFile, 5, 2, 1, 5);
    grid->addWidget(m_outputDirectory, 6, 2, 1, 5);
    grid->addWidget(m_title, 7, 2, 1, 5);
    grid->addWidget(closing, 8, 2, 1, 5);
    grid->setColumnMinimumWidth(2, 100);
    grid->setColumnStretch(2, 10);
    for (const int column : {1, 3}) {
        grid->setColumnMinimumWidth(column, 10);
        grid->setColumnStretch(column, 1);
    }
    grid->setRowMinimumHeight(4, 3);
    grid->setRowStretch(4, 1);
    grid->setRowMinimumHeight(5, 10);
    grid->setRowStretch(5, 0);

    m_fileList->postFill();
}
