#pragma once

#include "EWizardPanel.h"

#include <QPointer>

class ConversionFileCollection;
class FileSelectionCanvas;
class ResourceLibrary;

/// The panel on which the user chooses the COBOL sources to convert: a file browser and the
/// list of the wizard's file collection (see FileSelectionCanvas). Next needs at least one file.
class FileSelectionPanel final : public EWizardPanel
{
    Q_OBJECT

public:
    /// `files` and `resources` (KELWIZRS) must outlive the panel.
    FileSelectionPanel(ConversionFileCollection &files, const ResourceLibrary &resources);
    ~FileSelectionPanel() override;

    /// The canvas while the panel is shown; nullptr otherwise.
    FileSelectionCanvas *canvas() const;

    void buildPanel(QWidget *parent, unsigned long controlId) override;
    void destroyPanel() override;
    /// Stays, after saying so, while the collection is empty.
    unsigned short nextCheck() override;
    void gather() override;

private:
    ConversionFileCollection &m_files;
    const ResourceLibrary &m_resources;
    QPointer<FileSelectionCanvas> m_canvas;
};
