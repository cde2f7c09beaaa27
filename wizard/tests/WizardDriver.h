#pragma once

#include "ConversionFile.h"
#include "ConversionWizard.h"
#include "EWizardPanel.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

/// Runs `wizard` modally, as the program does, while `script` plays the user from the wizard's
/// own event loop; the wizard is cancelled when the script has not ended it. Returns what
/// beginWizard returned (false after Finish).
inline bool runWizard(ConversionWizard &wizard, const std::function<void()> &script)
{
    QTimer::singleShot(0, &wizard, [&wizard, script] {
        script();
        if (wizard.currentPanel())
            wizard.cancel();
    });
    return wizard.beginWizard();
}

/// Presses Next until `panel` is shown; false when the wizard stops elsewhere.
inline bool nextUntil(ConversionWizard &wizard, EWizardPanel &panel)
{
    for (int step = 0; step < wizard.panelCount() && wizard.currentPanel() != &panel; ++step) {
        EWizardPanel *before = wizard.currentPanel();
        wizard.next();
        if (wizard.currentPanel() == before)
            return false;
    }
    return wizard.currentPanel() == &panel;
}

/// Puts the source `path` into the wizard's file collection, as the program does for the files
/// of the settings file.
inline void addSource(ConversionWizard &wizard, const QString &path)
{
    wizard.files().add(std::make_unique<ConversionFile>(path.toStdString()));
}
