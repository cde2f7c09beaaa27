#pragma once

#include <iosfwd>
#include <string>

/// The console half of the wizard's start-up: reading the settings file named on the command
/// line, the parameter dump, and the defaults of the three values the user edits. Std-only, so
/// it is tested without a GUI.
namespace WizardStartup {

/// Reads the input settings file `path` into InputSettings::instance() and prints the dump.
///
/// A file that cannot be opened (missing, unreadable, a directory) gives
///     "Error:  The file name passed through the command line is incorrect."
///     "        Proceeding without the input file."
/// A format error (reported by InputSettings itself) is followed by
///     "Error:  The input file has bad formating."
///     "        The rest of the input file has been discarded, Processing will continue."
/// and what was read before it stays. In every case the dump follows: a line of 54 hyphens,
/// "The Parameters passed to the wizard are:", the settings in their text form, 54 hyphens.
/// Everything goes to `console`, which is flushed at the end.
void readSettingsFile(const std::string &path, std::ostream &console);

/// `workingDirectory` + "/y2kready" (no doubled separator for the root).
std::string defaultOutputDirectory(const std::string &workingDirectory);

/// The stored seed file (`SeedFile` in `Millenium_Conv`); when unset, the compiler directory
/// (`QCOBDIR` in `COMMON`) + "/Samples/Seedfile/sample.xsd", whether or not that exists. Empty
/// when the compiler directory is unset too, or when the settings cannot be read.
std::string defaultSeedFile();

/// "Year 2000 Conversion of " + the project's name when the project file `projectFile` has a
/// line with "+name=" followed by a name, else "Year 2000 Conversion". The first such line
/// counts; lines are read as LineReader defines them (at most 999 characters a read).
std::string conversionTitle(const std::string &projectFile);

/// Stores the seed file the user chose, so that the next run proposes it. Throws IAccessError
/// when the setting cannot be stored.
void storeSeedFile(const std::string &seedFile);

} // namespace WizardStartup
