#pragma once

#include "EnginePass.h"

#include <iosfwd>

class ConversionOptionsFile;

/// Runs the conversion aid `vyquext` on every file without a severe earlier result, in the
/// file's directory, and collects the findings into "chxconv.log" in the output directory.
///
/// Per file: the ".xca" findings are appended to the log (truncated when the pass starts), the
/// conversion options file is written, the aid runs, its report <source dir>/<base>.crs moves to
/// the output directory, and the options file goes away again (a set-aside one is given back).
/// States: 0x94 while running, then 0x81 (code 0), 0x82 (1..8), both success, 0x88 (above 8),
/// failure. A cancelled file finishes its clean-up and keeps 0x94.
class ConversionPass final : public EnginePass
{
public:
    ConversionPass(PassContext &context, ConversionOptionsFile &optionsFile);

    /// Throws IAccessError when the log cannot be opened or the options file cannot be written
    /// (QVFWORK unset); the error ends the run.
    void run();

    /// Appends the lines of `xcaPath` to `log`, each read at most 150 characters at a time
    /// (the rest of a longer line comes with the next read) and ended by a newline.
    static void appendFindings(const std::string &xcaPath, std::ostream &log);

private:
    void convert(ConversionFile &file, std::ostream &log);

    ConversionOptionsFile &m_optionsFile;
};
