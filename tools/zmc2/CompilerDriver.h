#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// zmc2: checks a COBOL source with GnuCOBOL and, with -qANALYZE, writes its analysis data.
///
/// Command line: `zmc2 [-c] -i<dir> ... [-std=<dialect>] [-free|-fixed] -qANALYZE <source>`;
/// options start with `-` or, for c, q... and std=, with `/`. Unknown option words are ignored
/// with a warning.
/// Return codes: 0 clean, 4 warnings, 8 errors (GnuCOBOL rejected the source), 12 the check
/// could not run: bad arguments, missing source, cobc not startable, an unknown dialect, or a
/// source our own front end cannot recognise as a program.
///
/// The analysis data file `<base>.adt` goes to $CHRONEX_OUTPUT_DIR (unset or empty: the current
/// directory) and only when the outcome is 0 or 4; on 8 or 12 a stale `<base>.adt` left there by
/// an earlier run is removed, so that no later step reads data of an older source.
class CompilerDriver final
{
public:
    static constexpr int clean = 0;
    static constexpr int warnings = 4;
    static constexpr int errors = 8;
    static constexpr int cannotRun = 12;

    struct Arguments
    {
        std::vector<std::string> includeDirectories;
        std::string dialect = "ibm";
        std::string source;
        bool analyze = false;
        bool compileOnly = false;
        bool freeFormat = false;          ///< -free: the source is in free format
        std::vector<std::string> ignored; ///< option words not known
        std::string error;                ///< set when the arguments are unusable
    };

    static Arguments parseArguments(const std::vector<std::string> &args);

    /// Runs the whole driver; messages go to `out` (cobc's output, our diagnostics) and `err`.
    static int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
};
