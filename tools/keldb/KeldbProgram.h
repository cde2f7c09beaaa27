#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// The shell command `keldb`: reads an analysis database.
///
///     keldb units DB                       the program units, one per line
///     keldb symbols DB UNIT                the unit's data items: level, byte offset, length,
///                                          long name
///     keldb map DB UNIT RECORD [--copybook NAME]
///                                          the storage map of a record, as the data map lays
///                                          it out
///
/// UNIT is a program name, a unit number or a source file; RECORD a data name, qualified when
/// it is not unique ("ACCT-ID OF ACCOUNT-RECORD", one argument or several), or chosen by its
/// copybook with --copybook.
class KeldbProgram final
{
public:
    enum Status {
        success = 0,
        notFound = 1,   ///< no such unit or record, or the name is not unique
        unreadable = 2, ///< the database is missing, locked, damaged or of another version
        usageError = 64
    };

    /// Runs with the arguments after the program name; output on `out`, messages on `err`.
    static int run(const std::vector<std::string> &arguments, std::ostream &out, std::ostream &err);

    static std::string helpText();
};
