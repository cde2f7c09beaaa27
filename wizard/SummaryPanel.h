#pragma once

#include "EWizardPanel.h"

#include <QPointer>

#include <string>

class ConversionFileCollection;
class ResourceLibrary;
class SummaryCanvas;

/// The last panel: shows, read-only, the files, seed file, output directory and title the
/// conversion will work on. Built anew each time it is shown, so it shows the current values.
class SummaryPanel final : public EWizardPanel
{
    Q_OBJECT

public:
    /// All references must outlive the panel.
    SummaryPanel(ConversionFileCollection &files,
                 const ResourceLibrary &resources,
                 const std::string &seedFile,
                 const std::string &outputDirectory,
                 const std::string &conversionTitle);
    ~SummaryPanel() override;

    /// The canvas while the panel is shown; nullptr otherwise.
    SummaryCanvas *canvas() const;

    void buildPanel(QWidget *parent, unsigned long controlId) override;
    void destroyPanel() override;
    /// Always goes on; on this last panel that means Finish.
    unsigned short nextCheck() override;
    void gather() override;

private:
    ConversionFileCollection &m_files;
    const ResourceLibrary &m_resources;
    const std::string &m_seedFile;
    const std::string &m_outputDirectory;
    const std::string &m_conversionTitle;
    QPointer<SummaryCanvas> m_canvas;
};
