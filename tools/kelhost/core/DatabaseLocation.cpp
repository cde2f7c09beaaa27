#include "DatabaseLocation.h"

#include "DbEu.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

DatabaseLocation DatabaseLocation::resolve(const std::string &argument)
{
    DatabaseLocation location;
    std::error_code error;
    const fs::path path(argument);
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
        location.error = "The analysis database " + argument
                         + " does not exist: expected a database file (chxanalysis.db) or a "
                           "conversion's output directory.";
        return location;
    }
    if (fs::is_directory(status)) {
        const fs::path file = path / DbEu::databaseFileName;
        if (!fs::exists(file, error)) {
            location.error = "The directory " + argument + " holds no analysis database: expected "
                             + file.string()
                             + ", which a conversion (kelconv --out, the wizard) writes into its "
                               "output directory.";
            return location;
        }
        location.file = file.string();
        return location;
    }
    if (!fs::is_regular_file(status)) {
        location.error = "The analysis database " + argument
                         + " is not a regular file: expected a database file or a directory.";
        return location;
    }
    location.file = path.string();
    return location;
}

bool DatabaseLocation::isBeingSetUp(const std::string &file)
{
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (!error && size == 0)
        return true;
    for (const char *suffix : {"-wal", "-journal"}) {
        const auto companion = fs::file_size(file + suffix, error);
        if (!error && companion > 0)
            return true;
    }
    return false;
}
