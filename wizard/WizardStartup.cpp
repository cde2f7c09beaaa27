#include "WizardStartup.h"

#include "ConversionDefaults.h"
#include "Environment.h"
#include "IException.h"
#include "InputSettings.h"
#include "LineReader.h"
#include "RegularFile.h"

#include <ostream>
#include <sstream>

namespace {

constexpr const char *seedFileSetting = "SeedFile";
constexpr const char *seedFileGroup = "Millenium_Conv";
const std::string dumpRule(54, '-');

} // namespace

namespace WizardStartup {

void readSettingsFile(const std::string &path, std::ostream &console)
{
    InputSettings &settings = InputSettings::instance();
    // Only a regular file is a settings file: a directory, or a FIFO that would block the
    // wizard until someone writes to it, is refused without waiting.
    const RegularFile::Result file = RegularFile::read(path);
    std::istringstream in(file.text);
    if (!file) {
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
    settings.print(console);
    console << dumpRule << std::endl;
}

std::string defaultOutputDirectory(const std::string &workingDirectory)
{
    return ConversionDefaults::outputDirectory(workingDirectory);
}

std::string defaultSeedFile()
{
    return ConversionDefaults::seedFile(&readenv);
}

std::string conversionTitle(const std::string &projectFile)
{
    return ConversionDefaults::title(projectFile);
}

void storeSeedFile(const std::string &seedFile)
{
    writeStringValue(seedFileSetting, seedFileGroup, seedFile);
}

} // namespace WizardStartup
