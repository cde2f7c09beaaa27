#include "SeedFilePanel.h"

#include "CurrentDirectory.h"
#include "DirectoryFileDialog.h"
#include "EWizardPanelError.h"
#include "GenericFileDialog.h"
#include "KelwizResourceIds.h"
#include "PathNames.h"
#include "ResourceLibrary.h"

#include <QMessageBox>

SeedFilePanel::SeedFilePanel(const ResourceLibrary &resources,
                             std::string &seedFile,
                             std::string &outputDirectory,
                             std::string &conversionTitle)
    : GenericScreenPanel(QStringLiteral("Select Seed file"))
    , m_resources(resources)
    , m_seedFile(seedFile)
    , m_outputDirectory(outputDirectory)
    , m_conversionTitle(conversionTitle)
{
    const QString browse = resources.loadString(KelwizRes::browseButton);
    addLine(resources.loadString(KelwizRes::seedPanelHeading));
    addLine();
    addLine();
    addEntryFieldWithButton(resources.loadString(KelwizRes::seedFileLabel), m_seedFile, browse);
    addLine();
    addEntryFieldWithButton(resources.loadString(KelwizRes::outputDirectoryLabel),
                            m_outputDirectory,
                            browse);
    addLine();
    addEntryField(resources.loadString(KelwizRes::conversionTitleLabel), m_conversionTitle);
    addLine();
}

unsigned long SeedFilePanel::missingValuesMessage(bool seedFileEmpty,
                                                  bool outputDirectoryEmpty,
                                                  bool titleEmpty)
{
    // Indexed by the three flags as bits: seed file 4, output directory 2, title 1.
    static constexpr unsigned long messages[8] = {
        0,
        KelwizRes::missingTitle,
        KelwizRes::missingOutput,
        KelwizRes::missingOutputTitle,
        KelwizRes::missingSeed,
        KelwizRes::missingSeedTitle,
        KelwizRes::missingSeedOutput,
        KelwizRes::missingSeedOutputTitle,
    };
    return messages[(seedFileEmpty ? 4 : 0) | (outputDirectoryEmpty ? 2 : 0)
                    | (titleEmpty ? 1 : 0)];
}

unsigned short SeedFilePanel::nextCheck()
{
    const bool seedFileEmpty = m_seedFile.empty();
    const bool outputDirectoryEmpty = m_outputDirectory.empty();
    const bool titleEmpty = m_conversionTitle.empty();
    if (const unsigned long message = missingValuesMessage(seedFileEmpty,
                                                           outputDirectoryEmpty,
                                                           titleEmpty)) {
        showError(m_resources.loadString(message)
                  + m_resources.loadString(KelwizRes::missingValuesHint));
        setFocusToControl(seedFileEmpty          ? seedFileField
                          : outputDirectoryEmpty ? outputDirectoryField
                                                 : titleField);
        return stayOnPanel;
    }

    if (!CurrentDirectory::isFile(m_seedFile)) {
        showError(QString::fromStdString(m_seedFile)
                  + m_resources.loadString(KelwizRes::seedFileNotFound));
        m_seedFile.clear();
        refreshPanel();
        setFocusToControl(seedFileField);
        return stayOnPanel;
    }

    return confirmOutputDirectory() ? nextPanel : stayOnPanel;
}

bool SeedFilePanel::confirmOutputDirectory()
{
    // "/out/" names the same directory as "/out"; the typed text stays as it is.
    const std::string directory = PathNames::withoutTrailingSeparators(m_outputDirectory);
    if (CurrentDirectory::isDirectory(directory))
        return true;

    const QMessageBox::StandardButton answer
        = QMessageBox::question(frame(),
                                QString(),
                                QString::fromStdString(m_outputDirectory)
                                    + m_resources.loadString(KelwizRes::createOutputDirectory),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        if (CurrentDirectory::makeDirectory(directory))
            return true;
        // Going on would only fail later, when the conversion writes its first file there.
        // The text " could not be created." is shared with the project creation's message.
        showError(QString::fromStdString(m_outputDirectory)
                  + m_resources.loadString(KelwizRes::projectErrorEnd));
        setFocusToControl(outputDirectoryField);
        return false;
    }

    m_outputDirectory.clear();
    refreshPanel();
    setFocusToControl(outputDirectoryField);
    return false;
}

void SeedFilePanel::buttonPressed(int buttonNumber)
{
    gatherWindow();
    switch (buttonNumber) {
    case seedFileButton:
        browseSeedFile();
        break;
    case outputDirectoryButton:
        browseOutputDirectory();
        break;
    default:
        return;
    }
    refreshPanel();
}

void SeedFilePanel::browseSeedFile()
{
    GenericFileDialog dialog(frame(),
                             QStringLiteral("."),
                             QStringLiteral("xsd"),
                             m_resources.loadString(KelwizRes::seedFileDialogTitle));
    dialog.addFileType(QStringLiteral("xsd"), m_resources.loadString(KelwizRes::seedFileType));
    dialog.setAcceptText(m_resources.loadString(KelwizRes::seedFileDialogAccept));
    dialog.show();
    if (dialog.accepted())
        m_seedFile = dialog.selectedPath().toStdString();
}

void SeedFilePanel::browseOutputDirectory()
{
    DirectoryFileDialog dialog(frame(),
                               QStringLiteral("."),
                               QString(),
                               m_resources.loadString(KelwizRes::outputDirectoryDialogTitle));
    dialog.show();
    if (dialog.accepted())
        m_outputDirectory = dialog.selectedPath().toStdString();
}

void SeedFilePanel::showError(const QString &text)
{
    EWizardPanelError(frame(), text).show();
}
