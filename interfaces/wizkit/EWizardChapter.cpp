#include "EWizardChapter.h"

EWizardChapter::EWizardChapter(const QString &title)
    : m_title(title)
{}

void EWizardChapter::addPanel(unsigned short flag, EWizardPanel &panel)
{
    m_panels.append({&panel, flag});
}
