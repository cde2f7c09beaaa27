#include "IException.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"
#include "TerminationCleanup.h"
#include "WizardLauncher.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return -1;

    // A signal that ends the launcher takes the wizard and the settings file with it.
    TerminationCleanup::install();
    QApplication application(argc, argv);
    const ResourceLibrary *resources = nullptr;
    try {
        resources = &ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        ResourceLibrary::load(QStringLiteral("CLASSLIB"));
    } catch (const IException &error) {
        std::cout << "Error:  " << error.what() << std::endl;
        return WizardLauncher::severeFailure;
    }
    // The title of every message box of the launcher.
    if (resources->hasString(KelwizRes::launcherTitle))
        QApplication::setApplicationDisplayName(resources->loadString(KelwizRes::launcherTitle));

    std::vector<std::string> arguments(argv + 1, argv + argc);
    WizardLauncher launcher(std::move(arguments), *resources);
    return launcher.run();
}
