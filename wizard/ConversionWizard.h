#pragma once

#include "ConversionFileCollection.h"
#include "EWizard.h"
#include "EWizardChapter.h"

#include <memory>
#include <string>

class EWizardPanel;
class ResourceLibrary;

/// The conversion wizard: four chapters of one panel each (introduction, COBOL file selection,
/// seed file and output, summary) over the file collection and the three values the panels edit
/// and the engine reads after Finish.
class ConversionWizard final : public EWizard
{
    Q_OBJECT

public:
    /// Builds the panels and chapters from `resources` (KELWIZRS), which must outlive the wizard.
    explicit ConversionWizard(const ResourceLibrary &resources);
    ~ConversionWizard() override;

    ConversionFileCollection &files() { return m_files; }
    const ConversionFileCollection &files() const { return m_files; }

    /// The values the panels bind to; set to their defaults by the program before the wizard runs.
    std::string &seedFile() { return m_seedFile; }
    std::string &outputDirectory() { return m_outputDirectory; }
    std::string &conversionTitle() { return m_conversionTitle; }

    /// The user resource library (KELWIZRS), the source of every panel text.
    const ResourceLibrary &resources() const { return m_resources; }

    EWizardPanel &introductoryPanel() { return *m_introductoryPanel; }
    EWizardPanel &fileSelectionPanel() { return *m_fileSelectionPanel; }
    EWizardPanel &seedFilePanel() { return *m_seedFilePanel; }
    EWizardPanel &summaryPanel() { return *m_summaryPanel; }

    /// Help ids of the four panels.
    static constexpr unsigned long introductoryHelpId = 1000;
    static constexpr unsigned long fileSelectionHelpId = 1100;
    static constexpr unsigned long seedFileHelpId = 1200;
    static constexpr unsigned long summaryHelpId = 1300;

private:
    // Declared in the order they are built; the panels refer to the collection and the strings.
    ConversionFileCollection m_files;
    std::string m_seedFile;
    std::string m_outputDirectory;
    std::string m_conversionTitle;
    std::unique_ptr<EWizardPanel> m_introductoryPanel;
    std::unique_ptr<EWizardPanel> m_fileSelectionPanel;
    std::unique_ptr<EWizardPanel> m_seedFilePanel;
    std::unique_ptr<EWizardPanel> m_summaryPanel;
    EWizardChapter m_chapters[4];
    const ResourceLibrary &m_resources;
};
