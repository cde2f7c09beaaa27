#include "SummaryPanel.h"

#include "SummaryCanvas.h"

SummaryPanel::SummaryPanel(ConversionFileCollection &files,
                           const ResourceLibrary &resources,
                           const std::string &seedFile,
                           const std::string &outputDirectory,
                           const std::string &conversionTitle)
    : EWizardPanel(QStringLiteral("COBOL Summary Panel"))
    , m_files(files)
    , m_resources(resources)
    , m_seedFile(seedFile)
    , m_outputDirectory(outputDirectory)
    , m_conversionTitle(conversionTitle)
{}

SummaryPanel::~SummaryPanel() = default;

void SummaryPanel::buildPanel(QWidget *parent, unsigned long controlId)
{
    m_canvas = new SummaryCanvas(parent,
                                 controlId,
                                 m_files,
                                 m_resources,
                                 m_seedFile,
                                 m_outputDirectory,
                                 m_conversionTitle);
}

void SummaryPanel::destroyPanel()
{
    // Deferred: the click that leaves the panel may still be on its way.
    if (m_canvas) {
        m_canvas->hide();
        m_canvas->deleteLater();
    }
    m_canvas = nullptr;
}

unsigned short SummaryPanel::nextCheck()
{
    return nextPanel;
}

void SummaryPanel::gather() {}

SummaryCanvas *SummaryPanel::canvas() const
{
    return m_canvas;
}
