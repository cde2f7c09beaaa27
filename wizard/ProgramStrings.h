#pragma once

#include <QString>

/// The wizard program's own string table, compiled into the program (not a resource library on
/// disk): it holds what the program needs even when no resource library can be opened.
namespace ProgramStrings {

/// Id 1: the program's name as shown to the user, " Chronex Wizard" (with its leading blank).
inline constexpr unsigned long programName = 1;

/// The text `id`; empty when the table has none.
QString text(unsigned long id);

} // namespace ProgramStrings
