#include "EWizardPanelError.h"

#include "EMessageBox.h"
#include "WizkitTexts.h"

EWizardPanelError::EWizardPanelError(QWidget *owner, const QString &text)
    : m_owner(owner)
    , m_text(text.isEmpty() ? WizkitTexts::text(WizkitTexts::wizardCorrectError) : text)
{}

void EWizardPanelError::show()
{
    EMessageBox box(m_owner, EMessageBox::okButton, EMessageBox::errorBitmap);
    box.setObjectName(QStringLiteral("wizardPanelError"));
    box.addLine(m_text);
    box.makeSound();
    box.show();
}
