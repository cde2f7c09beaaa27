#include "EWizardPanel.h"

#include "EWizard.h"

EWizardPanel::EWizardPanel(const QString &name)
    : m_name(name)
{
    setObjectName(name);
}

EWizardPanel::~EWizardPanel() = default;

QWidget *EWizardPanel::frame() const
{
    return m_wizard.data();
}

EWizard *EWizardPanel::wizard() const
{
    return m_wizard.data();
}

void EWizardPanel::buildPanel(QWidget *, unsigned long) {}

void EWizardPanel::destroyPanel() {}

unsigned short EWizardPanel::nextCheck()
{
    return nextPanel;
}

void EWizardPanel::gather() {}
