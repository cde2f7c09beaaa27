#include "WizardTexts.h"

#include "ProjectCreator.h"

#ifdef KELCONV_RESOURCE_LIBRARY
#include "IException.h"
#include "ResourceLibrary.h"
#endif

std::string WizardTexts::builtIn(unsigned long id)
{
    switch (id) {
    case ProjectCreator::NoProjectDirectoryText:
        return "The project directory (setting PRJDIR of group Toolbench) is not set.";
    case ProjectCreator::ProjectDirectoryIsText:
        return "The new project is created in the output directory ";
    case ProjectCreator::ProjectErrorText:
        return "The project for ";
    case ProjectCreator::ProjectErrorTrailerText:
        return " could not be created.";
    case ProjectCreator::OutputDirectoryIsText:
        return "The converted files are in the output directory ";
    default:
        return {};
    }
}

std::string WizardTexts::text(unsigned long id)
{
#ifdef KELCONV_RESOURCE_LIBRARY
    try {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        if (library.hasString(id))
            return library.loadString(id).toStdString();
    } catch (const IException &) {
        // No resource library installed: the built-in texts stand in.
    }
#endif
    return builtIn(id);
}
