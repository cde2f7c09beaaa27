#include "KelipcErrors.h"

#include "IException.h"
#include "KelresrcResourceIds.h"
#include "ResourceLibrary.h"

#include <iostream>
#include <mutex>

namespace KelipcErrors {

QString text(unsigned long id)
{
    static std::once_flag reported;
    try {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        if (library.hasString(id))
            return library.loadString(id);
    } catch (const IException &error) {
        std::call_once(reported, [&] { std::cerr << error.text() << std::endl; });
    }
    return QStringLiteral("[KELRESRC %1]").arg(id);
}

void resourceExhausted(Location where)
{
    throwLogged(IResourceExhausted(text(KelRes::registryFull).toStdString(), 0),
                {where.function, fileName, where.line},
                traceComponent);
}

void invalidRequest(Location where)
{
    throwLogged(IInvalidRequest(text(KelRes::registrationGone).toStdString(), 0),
                {where.function, fileName, where.line},
                traceComponent);
}

} // namespace KelipcErrors
