#include "IntroductoryPanel.h"

#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

IntroductoryPanel::IntroductoryPanel(const ResourceLibrary &resources)
    : GenericScreenPanel(QStringLiteral("Introductory Screen"))
{
    addLine(resources.loadString(KelwizRes::introWelcome));
    addLine();
    addLine();
    addLine(resources.loadString(KelwizRes::introPurpose));
    addLine();
    addLine(resources.loadString(KelwizRes::introStepsLead));
    addBulletLine(resources.loadString(KelwizRes::introStepFiles));
    addBulletLine(resources.loadString(KelwizRes::introStepSeedFile));
    addBulletLine(resources.loadString(KelwizRes::introStepSummary));
    addLine();
    addLine(resources.loadString(KelwizRes::introClosing));
}
