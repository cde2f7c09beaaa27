#pragma once

#include <QStringList>

#include <memory>

class ConversionWizard;
class ResourceLibrary;

/// The wizard program from start to end: the settings file and its dump, the wizard with its
/// defaults, and what follows Finish. The application object must exist.
///
/// Test hook: when the environment variable CHRONEX_WIZARD_AUTOCANCEL is "1", the wizard cancels
/// itself as soon as it is shown. Scripted tests use it to run the whole start-up of the real
/// program (console output, settings left untouched) without a user; it has no other use.
class WizardProgram final
{
public:
    /// `arguments` as the command line gave them, the program name first.
    explicit WizardProgram(QStringList arguments);
    ~WizardProgram();

    /// Runs the program; the exit status (always 0).
    int run();

    /// The start-up up to the wizard: reads the settings file named by the first argument (when
    /// there is one) with its console output, builds the wizard over `resources` and gives it the
    /// files and the default values.
    std::unique_ptr<ConversionWizard> prepareWizard(const ResourceLibrary &resources) const;

    /// What follows Finish: makes the output directory and the seed file absolute (a relative
    /// name means one below the working directory), sets the program-wide output directory of
    /// the file records and stores the seed file for the next run. A failure to store it is reported on standard
    /// error; the conversion goes on.
    static void afterFinish(ConversionWizard &wizard);

private:
    QStringList m_arguments;
};
