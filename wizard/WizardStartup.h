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

/// The defaults of the three values the user edits, as ConversionDefaults gives them to kelconv
/// too: the output directory (`workingDirectory` + "/y2kready"), the seed file (the stored one,
/// else the compiler directory's sample) and the title (from the project file's name line).
std::string defaultOutputDirectory(const std::string &workingDirectory);
std::string defaultSeedFile();
std::string conversionTitle(const std::string &projectFile);

/// Stores the seed file the user chose, so that the next run proposes it. Throws IAccessError
/// when the setting cannot be stored.
void storeSeedFile(const std::string &seedFile);

} // namespace WizardStartup
