#pragma once

#include <string>
#include <vector>

class InputSettings;

/// Turns the launcher's command line into a conversion request.
///
/// Two forms:
/// - plain: the project path, then the source paths, each one argument;
/// - response file: one argument "@<file>". The file's lines are joined into one text (see
///   readResponseFile), which is split into words at blanks, tabs and line ends. The first word is the project path, every further word a source path. A word
///   in double quotes may hold blanks (the quotes are removed), so paths with blanks can be given.
///
/// Sources are not checked here; the wizard's settings reader skips those that do not exist.
namespace LaunchRequest {

enum class Fill { Filled, Nothing };

/// Fills `settings` from `arguments` (the program name excluded). Returns Nothing, and leaves
/// `settings` unchanged, when `arguments` is empty or names a response file that cannot be
/// opened or holds no word.
Fill fillSettings(const std::vector<std::string> &arguments, InputSettings &settings);

/// The words of a response file's text, as described above.
std::vector<std::string> splitWords(const std::string &text);

/// Reads the response file `path` into one text: its lines, read in pieces of at most 999
/// characters, appended with their line ends (so a longer line comes out whole), and one newline
/// at the end cut. False when it is no regular file that can be read (a FIFO is refused without
/// waiting for a writer).
bool readResponseFile(const std::string &path, std::string &text);

/// Leaves out of `settings` what the wizard could not be handed: a project name or source with
/// a line break or a NUL (a quoted response-file word may hold one), which would add lines to
/// the settings file; and a source whose base name an earlier source has, whose results would
/// overwrite the earlier one's. Returns one message per thing left out, naming it.
std::vector<std::string> leaveOutUnusable(InputSettings &settings);

/// `options` without the first occurrence of each of "%o", "%p", "%a" and "%z" (in that order,
/// letters in either case). Nothing else changes: the blanks around a placeholder stay.
std::string withoutPlaceholders(std::string options);

} // namespace LaunchRequest
