#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelmkpu {

/// One run of kelmkpu: reads the analysis data and the seed file, analyses the program, and
/// writes `<outdir>/<base>.xrl` and `<outdir>/<base>.xca`, nothing else and nowhere else.
class ProgramUnitBuilder final
{
public:
    /// Return codes of the program.
    enum ReturnCode { Clean = 0, Warnings = 4, UnusableInput = 8, Failed = 12 };

    /// What becomes of a run's large data (the analysis data, the model, the analysis) when it
    /// has ended well: freed, or left for the process's end, which returns the memory at once,
    /// whereas freeing it block by block is a tenth of a large program's run. Only a program
    /// that ends right after the run leaves it.
    enum class Ending { FreeData, LeaveDataToProcessEnd };

    /// Runs with the arguments after the program name; messages go to `err`.
    static int run(const std::vector<std::string> &arguments,
                   std::ostream &err,
                   Ending ending = Ending::FreeData);

private:
    /// Whether a run may keep the records of a unit recorded before from the same input.
    enum class Recording { mayKeepRecords, whole };
    /// One run; `recordWhole` is set (and the return code means nothing) when the unit it
    /// meant to keep was recorded since from other input.
    static int runOnce(const std::vector<std::string> &arguments,
                       std::ostream &err,
                       Ending ending,
                       Recording recording,
                       bool &recordWhole);
};

} // namespace kelmkpu
