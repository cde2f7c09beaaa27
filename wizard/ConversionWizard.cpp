#include "ConversionWizard.h"

#include "FileSelectionPanel.h"
#include "IntroductoryPanel.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"
#include "SeedFilePanel.h"
#include "SummaryPanel.h"

ConversionWizard::ConversionWizard(const ResourceLibrary &resources)
    : EWizard(nullptr)
    , m_resources(resources)
{
    setObjectName(QStringLiteral("conversionWizard"));
    m_introductoryPanel = std::make_unique<IntroductoryPanel>(resources);
    m_fileSelectionPanel = std::make_unique<FileSelectionPanel>(m_files, resources);
    m_seedFilePanel = std::make_unique<SeedFilePanel>(resources,
                                                      m_files,
                                                      m_seedFile,
                                                      m_outputDirectory,
                                                      m_conversionTitle);
    m_summaryPanel = std::make_unique<SummaryPanel>(m_files,
                                                    resources,
                                                    m_seedFile,
                                                    m_outputDirectory,
                                                    m_conversionTitle);

    const QString helpLibrary = resources.loadString(KelwizRes::helpLibraryName);
    const QString helpTitle = resources.loadString(KelwizRes::helpWindowTitle);
    const std::pair<EWizardPanel *, unsigned long> panels[] = {
        {m_introductoryPanel.get(), introductoryHelpId},
        {m_fileSelectionPanel.get(), fileSelectionHelpId},
        {m_seedFilePanel.get(), seedFileHelpId},
        {m_summaryPanel.get(), summaryHelpId},
    };
    for (const auto &[panel, helpId] : panels) {
        panel->setHelpLibrary(helpLibrary);
        panel->setHelpWindowTitle(helpTitle);
        panel->setHelpId(helpId);
    }

    m_chapters[0].addPanel(EWizardChapter::morePanels, *m_introductoryPanel);
    m_chapters[1].addPanel(EWizardChapter::morePanels, *m_fileSelectionPanel);
    m_chapters[2].addPanel(EWizardChapter::morePanels, *m_seedFilePanel);
    m_chapters[3].addPanel(EWizardChapter::lastPanel, *m_summaryPanel);
    for (EWizardChapter &chapter : m_chapters)
        addChapterAsLast(chapter);

    setBitmap(resources.loadBitmap(KelwizRes::wizardSideBitmap));
    setWindowIcon(resources.loadIcon(KelwizRes::wizardIcon));
    setTitle(resources.loadString(KelwizRes::wizardTitle), QString());
}

ConversionWizard::~ConversionWizard() = default;
