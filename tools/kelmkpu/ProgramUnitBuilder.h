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

    /// Runs with the arguments after the program name; messages go to `err`.
    static int run(const std::vector<std::string> &arguments, std::ostream &err);
};

} // namespace kelmkpu
