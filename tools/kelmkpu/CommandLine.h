#pragma once

#include <string>
#include <vector>

namespace kelmkpu {

/// The command line `kelmkpu <adt> /r <seed> /m- /c /u+ /d <outdir> [/s] [/n]`.
///
/// Switches start with "/" (or "-") and are matched without regard to case: `/r <file>` the seed
/// file, `/d <dir>` the output directory, `/s` seed-only analysis (no declaration evidence), `/n`
/// no program unit recorded (neither expanded source nor analysis database).
/// `/m-`, `/m+`, `/c`, `/u+` and `/u-` are accepted for compatibility and change nothing. The
/// engine may pass all options as one argument ("/r seed /m- /c /u+ /d out"); such an argument is
/// split at the switches, so a path in it may hold blanks as long as no blank in it is followed by
/// a switch.
class CommandLine final
{
public:
    /// Parses the arguments after the program name; false with `error` set when they are not
    /// usable (no analysis data file, no output directory, an unknown switch, a missing value).
    bool parse(const std::vector<std::string> &arguments, std::string &error);

    std::string adtPath;
    std::string seedPath; ///< empty: no seeds
    std::string outputDirectory;
    bool seedOnly = false;
    bool recordUnit = true; ///< false with /n: no expanded source, nothing in the database

    static std::string usage();

private:
    enum class Take { Ok, Error };
    Take takeSwitch(const std::string &name,
                    const std::vector<std::string> &words,
                    std::size_t &i,
                    std::string &error);
};

} // namespace kelmkpu
