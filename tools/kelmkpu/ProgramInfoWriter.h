#pragma once

#include "AnalysisResult.h"
#include "ProgramModel.h"

#include <iosfwd>

namespace kelmkpu {

/// Writes the program-info file (".xrl") that the engine reads into its seed table:
///
///     <PROGRAM-INFO>
///     <FILE> /src/PAYROLL.cbl </FILE>
///     <FILE> DATEREC </FILE>
///     </PROGRAM-INFO>
///     <INCLUDE> DATEREC DEFAULT
///     <RESULT>
///     <USED-AS-YEAR>
///     <INDEX> 5 <LENGTH> 2
///     </USED-AS-YEAR>
///     </RESULT>
///
/// One FILE line per copybook the program includes (each name once, in order of first COPY);
/// one INCLUDE block per (copybook, qualifier) with runs, the runs ascending and non-overlapping
/// in the copybook's own 1-based bytes.
class ProgramInfoWriter final
{
public:
    static void write(std::ostream &out, const ProgramModel &model, const AnalysisResult &result);

    /// The file written when the analysis could not run: the program and no copybooks.
    static void writeEmpty(std::ostream &out, const std::string &programName);

private:
    static std::string fileLineText(const std::string &name);
};

} // namespace kelmkpu
