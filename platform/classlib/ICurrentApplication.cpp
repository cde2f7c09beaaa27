#include "ICurrentApplication.h"

#include "IException.h"
#include "ResourceLibrary.h"

#include <QSet>

#include <iostream>
#include <mutex>

namespace {

std::mutex applicationMutex; // guards the two values below
QString libraryName = QStringLiteral("KELRESRC");
QSet<QString> reportedLibraries;

} // namespace

void ICurrentApplication::setUserResourceLibrary(const QString &name)
{
    std::lock_guard lock(applicationMutex);
    libraryName = name;
}

QString ICurrentApplication::userResourceLibraryName()
{
    std::lock_guard lock(applicationMutex);
    return libraryName;
}

const ResourceLibrary &ICurrentApplication::userResourceLibrary()
{
    return ResourceLibrary::load(userResourceLibraryName());
}

const ResourceLibrary *ICurrentApplication::userResourceLibraryIfLoaded()
{
    const QString name = userResourceLibraryName();
    try {
        return &ResourceLibrary::load(name);
    } catch (const IException &error) {
        std::lock_guard lock(applicationMutex);
        if (!reportedLibraries.contains(name)) {
            reportedLibraries.insert(name);
            std::cerr << error.text() << std::endl;
        }
        return nullptr;
    }
}

QString ICurrentApplication::loadString(unsigned long id)
{
    const ResourceLibrary *library = userResourceLibraryIfLoaded();
    if (library && library->hasString(id))
        return library->loadString(id);
    return QStringLiteral("[%1 %2]").arg(userResourceLibraryName()).arg(id);
}
