#include "FileSelectionPanel.h"

#include "ConversionFileCollection.h"
#include "EMessageBox.h"
#include "FileSelectionCanvas.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

FileSelectionPanel::FileSelectionPanel(ConversionFileCollection &files,
                                       const ResourceLibrary &resources)
    : EWizardPanel(QStringLiteral("COBOL File Selection Panel"))
    , m_files(files)
    , m_resources(resources)
{}

FileSelectionPanel::~FileSelectionPanel() = default;

void FileSelectionPanel::buildPanel(QWidget *parent, unsigned long controlId)
{
    m_canvas = new FileSelectionCanvas(parent,
                                       controlId,
                                       m_files,
                                       m_resources,
                                       QStringLiteral("."));
}

void FileSelectionPanel::destroyPanel()
{
    // Deferred: the key or click that leaves the panel may still be on its way through it.
    if (m_canvas) {
        m_canvas->hide();
        m_canvas->deleteLater();
    }
    m_canvas = nullptr;
}

unsigned short FileSelectionPanel::nextCheck()
{
    if (!m_files.isEmpty())
        return nextPanel;
    EMessageBox box(frame(), EMessageBox::okButton, EMessageBox::warningBitmap);
    box.setObjectName(QStringLiteral("noFilesSelectedBox"));
    box.addLine(m_resources.loadString(KelwizRes::noFilesSelected));
    box.show();
    return stayOnPanel;
}

void FileSelectionPanel::gather() {}

FileSelectionCanvas *FileSelectionPanel::canvas() const
{
    return m_canvas;
}
