#include "WizardTexts.h"

#include "KelwizResourceIds.h"

#ifdef KELCONV_RESOURCE_LIBRARY
#include "IException.h"
#include "ResourceLibrary.h"
#endif

std::string WizardTexts::builtIn(unsigned long id)
{
    switch (id) {
    case KelwizRes::noProjectDirectory:
        return "No project directory is set (setting PRJDIR of group Toolbench).";
    case KelwizRes::projectCreatedIn:
        return "The new project is created in ";
    case KelwizRes::projectErrorStart:
        return "The project for ";
    case KelwizRes::projectErrorEnd:
        return " could not be created.";
    case KelwizRes::resultsIn:
        return "The converted sources are in ";
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
