#include "SeedFilePanel.h"

#include "ConversionFileCollection.h"
#include "ConversionInputs.h"
#include "CurrentDirectory.h"
#include "DirectoryFileDialog.h"
#include "EMessageBox.h"
#include "EWizardPanelError.h"
#include "GenericFileDialog.h"
#include "KelwizResourceIds.h"
#include "PathNames.h"
#include "ResourceLibrary.h"

SeedFilePanel::SeedFilePanel(const ResourceLibrary &resources,
                             const ConversionFileCollection &files,
                             std::string &seedFile,
                             std::string &outputDirectory,
                             std::string &conversionTitle)
    : GenericScreenPanel(QStringLiteral("Select Seed file"))
    , m_resources(resources)
    , m_files(files)
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

    if (const auto [problem, field] = requestProblem(); !problem.empty()) {
        showError(QString::fromStdString(problem));
        setFocusToControl(field);
        return stayOnPanel;
    }

    return confirmOutputDirectory() ? nextPanel : stayOnPanel;
}

std::pair<std::string, SeedFilePanel::Field> SeedFilePanel::requestProblem() const
{
    // What the run would refuse, found here where it can be mended: a title or path that would
    // start a new line in the conversion's files, or a source or seed file where the run writes.
    if (std::string problem = ConversionInputs::titleProblem(m_conversionTitle); !problem.empty())
        return {problem, titleField};
    if (std::string problem = ConversionInputs::pathProblem("seed file", m_seedFile);
        !problem.empty())
        return {problem, seedFileField};
    if (std::string problem = ConversionInputs::pathProblem("output directory", m_outputDirectory);
        !problem.empty())
        return {problem, outputDirectoryField};
    const std::vector<std::string> sources = m_files.paths();
    const ConversionInputs::WriteTargets written(sources, m_seedFile, m_outputDirectory);
    if (std::string problem = written.problem("seed file", m_seedFile); !problem.empty())
        return {problem, seedFileField};
    for (const std::string &source : sources) {
        if (std::string problem = written.problem("source", source); !problem.empty())
            return {problem, outputDirectoryField};
    }
    return {};
}

bool SeedFilePanel::confirmOutputDirectory()
{
    // "/out/" names the same directory as "/out"; the typed text stays as it is.
    const std::string directory = PathNames::withoutTrailingSeparators(m_outputDirectory);
    if (CurrentDirectory::isDirectory(directory))
        return true;

    EMessageBox question(frame(), EMessageBox::yesNoButtons, EMessageBox::questionBitmap);
    question.setObjectName(QStringLiteral("createOutputDirectoryBox"));
    question.addLine(QString::fromStdString(m_outputDirectory)
                     + m_resources.loadString(KelwizRes::createOutputDirectory));
    if (question.show() == EMessageBox::yes) {
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
