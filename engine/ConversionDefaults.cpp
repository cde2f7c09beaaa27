#include "ConversionDefaults.h"

#include "LineReader.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <exception>
#include <sstream>

namespace ConversionDefaults {

std::string outputDirectory(const std::string &workingDirectory)
{
    return PathNames::join(workingDirectory, "y2kready");
}

std::string seedFile(const EnvironmentReader &environment)
{
    try {
        std::string seedFile = environment("SeedFile", "Millenium_Conv");
        if (seedFile.empty()) {
            const std::string compilerDirectory = environment("QCOBDIR", "COMMON");
            seedFile = PathNames::join(compilerDirectory.empty()
                                           ? std::string(1, PathNames::separator)
                                           : compilerDirectory,
                                       "Samples/Seedfile/sample.xsd");
        }
        return seedFile;
    } catch (const std::exception &) {
        // Unreadable settings are not worth a message here: the seed file check asks for a file.
        return {};
    }
}

std::string title(const std::string &projectFile)
{
    if (projectFile.empty())
        return plainTitle;
    // Read without blocking: a FIFO or a directory named as the project is no project file.
    const RegularFile::Result file = RegularFile::read(projectFile);
    if (!file)
        return plainTitle;
    std::istringstream in(file.text);
    LineReader reader(in);
    std::string line;
    while (reader.readLine(line)) {
        if (line.find("+name=") == std::string::npos)
            continue;
        const std::string name = line.size() > 6 ? line.substr(6) : std::string();
        return name.empty() ? std::string(plainTitle) : std::string(plainTitle) + " of " + name;
    }
    return plainTitle;
}

} // namespace ConversionDefaults
