#pragma once

#include <string>

/// Where the analysis database named on kelhost's command line is: the argument is the database
/// file itself, or a directory that holds one (a conversion's output directory, with
/// `chxanalysis.db`).
struct DatabaseLocation
{
    /// The database file; empty when the argument names none.
    std::string file;
    /// Why there is none: what was named, what was expected and what was found.
    std::string error;

    /// Resolves `argument` against the file system (nothing is opened or created).
    static DatabaseLocation resolve(const std::string &argument);

    /// Whether `file` looks like a database that a conversion is setting up right now: it is
    /// empty, or SQLite's write-ahead log or rollback journal beside it is. kelmkpu creates the
    /// file and its tables in one transaction, so a reader can meet it in between.
    static bool isBeingSetUp(const std::string &file);
};
