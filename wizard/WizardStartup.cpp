#include "WizardStartup.h"

#include "Environment.h"
#include "IException.h"
#include "InputSettings.h"
#include "LineReader.h"
#include "PathNames.h"

#include <filesystem>
#include <fstream>
#include <ostream>

namespace {

constexpr const char *seedFileSetting = "SeedFile";
constexpr const char *seedFileGroup = "Millenium_Conv";
const std::string dumpRule(54, '-');

} // namespace

namespace WizardStartup {

void readSettingsFile(const std::string &path, std::ostream &console)
{
    InputSettings &settings = InputSettings::instance();
    std::error_code error;
    std::ifstream in;
    // A directory opens as a stream on this platform but is no text file.
    if (!std::filesystem::is_directory(path, error))
        in.open(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        console << "Error:  The file name passed through the command line is incorrect.\n"
                << "        Proceeding without the input file.\n";
    } else {
        try {
            settings.read(in, console);
        } catch (const IException &) {
            console << "Error:  The input file has bad formating.\n"
                    << "        The rest of the input file has been discarded, Processing will "
                       "continue.\n";
        }
    }
    console << dumpRule << '\n' << "The Parameters passed to the wizard are:\n";
    settings.write(console);
    console << dumpRule << std::endl;
}

std::string defaultOutputDirectory(const std::string &workingDirectory)
{
    return PathNames::join(workingDirectory, "y2kready");
}

std::string defaultSeedFile()
{
    try {
        std::string seedFile = readenv(seedFileSetting, seedFileGroup);
        if (seedFile.empty()) {
            const std::string compilerDirectory = readenv("QCOBDIR", "COMMON");
            if (!compilerDirectory.empty())
                seedFile = PathNames::join(compilerDirectory, "Samples/Seedfile/sample.xsd");
        }
        return seedFile;
    } catch (...) {
        // Unreadable settings are not worth a message here: the seed file panel asks for a file.
        return {};
    }
}

std::string conversionTitle(const std::string &projectFile)
{
    const std::string plainTitle = "Year 2000 Conversion";
    if (projectFile.empty())
        return plainTitle;
    std::error_code error;
    if (std::filesystem::is_directory(projectFile, error))
        return plainTitle;
    std::ifstream in(projectFile, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return plainTitle;
    LineReader reader(in);
    std::string line;
    constexpr std::string_view nameTag = "+name=";
    while (reader.readLine(line)) {
        const auto tag = line.find(nameTag);
        if (tag == std::string::npos)
            continue;
        // The project files write "+name=" at the start of the line; should it stand further in,
        // the name is still what follows it rather than a cut through the tag.
        const std::string name = line.substr(tag + nameTag.size());
        return name.empty() ? plainTitle : plainTitle + " of " + name;
    }
    return plainTitle;
}

void storeSeedFile(const std::string &seedFile)
{
    writeStringValue(seedFileSetting, seedFileGroup, seedFile);
}

} // namespace WizardStartup
