#pragma once

#include <iosfwd>
#include <string>

namespace cobol {
class AnalysisData;
}

namespace kelmkpu {

struct AnalysisResult;
struct ProgramModel;

/// Records an analysed program in the execution unit's analysis database: writes the expanded
/// source `<outdir>/<base>.xpd` and records the program unit in `<outdir>/chxanalysis.db`, in
/// one transaction that replaces an older version of the same unit (same source file).
///
/// The execution unit takes its name from the environment variable CHRONEX_TITLE (the engine
/// sets it to the conversion's title); without it, from the output directory's name.
class UnitRecorder final
{
public:
    /// The execution unit's name for a run writing into `outputDirectory`.
    static std::string executionUnitName(const std::string &outputDirectory);

    /// False with the reason on `err` ("kelmkpu: error: ...") when the expanded source or the
    /// unit could not be written; an older version of the unit then stays as it was. Files
    /// the expanded source cannot show are warnings on `err`.
    static bool record(const std::string &outputDirectory,
                       const std::string &base,
                       const cobol::AnalysisData &data,
                       const ProgramModel &model,
                       const AnalysisResult &result,
                       std::ostream &err);
};

} // namespace kelmkpu
