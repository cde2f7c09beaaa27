#pragma once

#include "SourceFile.h"

#include <string>
#include <vector>

namespace vyquext {

/// Where one conversion reads and writes, and how it windows: from the conversion options file
/// ("<QVFWORK>/<base>.c3a") that the engine writes before each run, or from defaults when there
/// is none.
///
/// Lines read (1-based): 1 the header "V2R2F1 QVF TRCAFile Options"; 2 "Input File", 3 the
/// source; 6 "Output File", 7 the ".cvt" path, 8 the output directory; 19 "CHX", 21 the ".xca"
/// path; 36 "Format", 37 the source format (1 fixed, 0 free; a directive in the source wins),
/// 39 the pivot year (1-99; 0 or empty: 50). Lines 38 and 40 and the other sections are read
/// past. Empty paths fall back to the defaults below.
///
/// Defaults (no options file, or QVFWORK unset): the source named on the command line, the
/// output directory from $CHRONEX_OUTPUT_DIR (unset: the current directory), there
/// "<base>.cvt" and "<base>.xca", pivot 50, fixed format unless the source says otherwise.
class ConversionOptions final
{
public:
    static constexpr int defaultPivot = 50;

    std::string optionsPath; ///< the file read; empty when the defaults apply
    std::string input;
    std::string cvtPath;
    std::string outputDirectory;
    std::string xcaPath;
    int pivot = defaultPivot;
    bool freeFormat = false;
    std::string origin; ///< how the options were found, for the report

    /// The options for `sourcePath` (absolute). Looks for the options file in QVFWORK (only when
    /// the environment settings file exists: reading settings must not create it). Throws
    /// IAccessError when the options file exists but cannot be read or is malformed, or when the
    /// paths it gives are unsafe (the output file outside the output directory or on the source).
    static ConversionOptions forSource(const std::string &sourcePath);

    /// Parses options text; `fileName` names it in errors.
    static ConversionOptions parse(const std::string &text,
                                   const std::string &fileName,
                                   const std::string &sourcePath);
    static ConversionOptions defaults(const std::string &sourcePath);

    /// Fills empty paths from the defaults and checks that the output stays where it belongs.
    void complete(const std::string &sourcePath);
};

} // namespace vyquext
