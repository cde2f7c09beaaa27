#include "CompilerOptionsLibrary.h"

#include "GetCommandLine.h"
#include "InstallPaths.h"
#include "PathNames.h"

#include <QFileInfo>
#include <QStringList>

#include <array>

bool CompilerOptionsLibrary::load(QString &error)
{
    if (m_library.isLoaded())
        return true;

    QStringList candidates;
    for (const std::string &bin :
         {InstallPaths::executableDirectory(), InstallPaths::binDirectory()}) {
        const QString path = QString::fromStdString(
            PathNames::join(PathNames::join(bin, "../lib"), "libRUXVCOPT.so"));
        if (QFileInfo::exists(path) && !candidates.contains(path))
            candidates << path;
    }
    candidates << QStringLiteral("RUXVCOPT");

    QStringList failures;
    for (const QString &candidate : candidates) {
        m_library.setFileName(candidate);
        if (m_library.load())
            return true;
        failures << m_library.errorString();
    }
    error = QStringLiteral("The compiler-options library RUXVCOPT could not be loaded: ")
            + failures.join(QStringLiteral("; "));
    return false;
}

bool CompilerOptionsLibrary::commandLine(const std::string &projectName,
                                         unsigned long windowHandle,
                                         std::string &options,
                                         QString &error)
{
    error.clear();
    if (!load(error))
        return false;
    const auto getCommandLine = reinterpret_cast<GetCommandLineFunction>(
        m_library.resolve("GETCOMMANDLINE"));
    if (!getCommandLine) {
        error = QStringLiteral("The compiler-options library %1 has no entry point GETCOMMANDLINE.")
                    .arg(m_library.fileName());
        return false;
    }

    std::array<char, bufferSize> buffer{};
    if (getCommandLine(projectName.c_str(), windowHandle, bufferSize, buffer.data()) != 0)
        return false;
    buffer.back() = '\0'; // never read past the buffer, whatever the library left in it
    options = buffer.data();
    return true;
}
