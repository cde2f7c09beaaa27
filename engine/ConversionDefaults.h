#pragma once

#include "EnvironmentReader.h"

#include <string>

/// The defaults of what a conversion run works with, one implementation for the wizard and
/// kelconv, so that both propose the same values for the same settings.
namespace ConversionDefaults {

/// "Year 2000 Conversion": the title when no project name is known.
inline constexpr const char *plainTitle = "Year 2000 Conversion";

/// `workingDirectory` + "/y2kready" (no doubled separator for the root).
std::string outputDirectory(const std::string &workingDirectory);

/// The stored seed file (`SeedFile` of group `Millenium_Conv`); when that is unset, the compiler
/// directory (`QCOBDIR` of group `COMMON`) + "/Samples/Seedfile/sample.xsd", whether or not the
/// file exists and also when the compiler directory is unset ("/Samples/Seedfile/sample.xsd"),
/// so that the seed file check names the file it looked for. Empty when reading the settings
/// raises an error.
std::string seedFile(const EnvironmentReader &environment);

/// "Year 2000 Conversion of " + the project's name, else the plain title. The name comes from
/// the first line of the project file `projectFile` that contains "+name=": that line without
/// its first six characters (the project files write the tag at the start of the line). Lines
/// are read as LineReader defines them. A project file that is missing, is no regular file or
/// has no such line (or an empty name) gives the plain title.
std::string title(const std::string &projectFile);

} // namespace ConversionDefaults
