#include "WizardProgram.h"

#include "ConversionFile.h"
#include "ConversionInputs.h"
#include "ConversionSession.h"
#include "ConversionWizard.h"
#include "CurrentDirectory.h"
#include "File.h"
#include "IException.h"
#include "InputSettings.h"
#include "PathNames.h"
#include "ResourceLibrary.h"
#include "WizardStartup.h"

#include <QTimer>

#include <iostream>

WizardProgram::WizardProgram(QStringList arguments)
    : m_arguments(std::move(arguments))
{}

WizardProgram::~WizardProgram() = default;

std::unique_ptr<ConversionWizard> WizardProgram::prepareWizard(
    const ResourceLibrary &resources) const
{
    InputSettings &settings = InputSettings::instance();
    // Only the first argument counts; further ones are ignored.
    if (m_arguments.size() >= 2)
        WizardStartup::readSettingsFile(m_arguments.at(1).toStdString(), std::cout);

    auto wizard = std::make_unique<ConversionWizard>(resources);
    for (const std::string &path : settings.files) {
        const std::string fullPath = File(path).fullPath();
        // Refused when the list is built: their results would overwrite each other.
        if (const ConversionFile *first = wizard->files().sameBaseName(fullPath)) {
            std::cout << "Error:  "
                      << ConversionInputs::baseNameConflictMessage(first->fullPath(), fullPath)
                      << " " << fullPath << " is left out." << std::endl;
            continue;
        }
        wizard->files().add(std::make_unique<ConversionFile>(fullPath));
    }
    wizard->outputDirectory() = WizardStartup::defaultOutputDirectory(
        CurrentDirectory::workingDirectory());
    wizard->seedFile() = WizardStartup::defaultSeedFile();
    wizard->conversionTitle() = WizardStartup::conversionTitle(settings.projectName);
    return wizard;
}

void WizardProgram::afterFinish(ConversionWizard &wizard)
{
    // The tools run in the sources' directories and would resolve a relative name there; the
    // names typed are relative to where the wizard was started.
    wizard.outputDirectory() = PathNames::absolute(wizard.outputDirectory());
    wizard.seedFile() = PathNames::absolute(wizard.seedFile());
    ConversionFile::setOutputDirectory(wizard.outputDirectory());
    try {
        WizardStartup::storeSeedFile(wizard.seedFile());
    } catch (const IException &error) {
        std::cerr << error.what() << std::endl;
    }
}

int WizardProgram::run()
{
    std::unique_ptr<ConversionWizard> wizard;
    try {
        wizard = prepareWizard(ResourceLibrary::load(QStringLiteral("KELWIZRS")));
    } catch (const IException &error) {
        // Without its texts the wizard cannot be shown; say why instead of ending silently.
        std::cout.flush();
        std::cerr << "kelwiz: " << error.what() << std::endl;
        return 0;
    }
    std::cout.flush();

    if (qEnvironmentVariable("CHRONEX_WIZARD_AUTOCANCEL") == QLatin1String("1"))
        QTimer::singleShot(0, wizard.get(), &ConversionWizard::cancel);
    if (wizard->beginWizard())
        return 0; // cancelled or closed: nothing is stored

    afterFinish(*wizard);
    // Loaded above already: this lookup cannot fail.
    return ConversionSession(*wizard, ResourceLibrary::load(QStringLiteral("KELWIZRS")), std::cout)
        .run();
}
