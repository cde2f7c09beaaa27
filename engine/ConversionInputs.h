#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// The checks a conversion request must pass before anything is written. Every place that
/// builds a request (the wizard's panels, the launcher, kelconv, the run itself) uses them, so
/// all refuse the same inputs with the same words. Each check returns the text of the first
/// problem found, empty when there is none; texts name the files concerned.
namespace ConversionInputs {

/// True when `text` holds a control character (below 0x20, or 0x7F): a line break, a tab, a NUL.
/// Such a text cannot be written as one value of the line-based settings, options and project
/// files without changing their structure.
bool hasControlCharacters(std::string_view text);

/// A title with a control character, which would start a new line in the project file.
std::string titleProblem(const std::string &title);

/// A path (`what` names it: "source", "seed file", "output directory") with a control character.
std::string pathProblem(const std::string &what, const std::string &path);

/// The source of `sources` that shares its base name with `path` but is another file; empty
/// when there is none. Two sources with one base name would write the same result files.
std::string baseNameConflict(const std::vector<std::string> &sources, const std::string &path);

/// The message for two sources with the same base name, `first` being the one kept.
std::string baseNameConflictMessage(const std::string &first, const std::string &second);

/// The first pair of `sources` with the same base name, as its message.
std::string baseNameConflicts(const std::vector<std::string> &sources);

/// The files a run over `sources` into `outputDirectory` writes, each with what it is, gathered
/// once so that checking every source against them takes time in proportion to the portfolio,
/// not to its square (a portfolio of thousands of sources is checked in a moment).
class WriteTargets
{
public:
    WriteTargets(const std::vector<std::string> &sources,
                 const std::string &seedFile,
                 const std::string &outputDirectory);

    /// As writeTargetProblem below, for one source or the seed file.
    std::string problem(const std::string &what, const std::string &path) const;

private:
    /// Resolved path -> what the run writes there ("its log", "the results of X" ...); the
    /// first of several descriptions of one path is kept, as the checks name the first match.
    std::unordered_map<std::string, std::string> m_written;
};

/// A source or the seed file (`what` names it) that lies where a run over `sources` into
/// `outputDirectory` writes: a result file of any source (<base>.adt, .xlg, .xca, .xrl, .cvt,
/// .crs in the output directory, and the report <base>.crs beside the source), the log
/// chxconv.log, or the temporary seed file <seed base>.asd. The run would overwrite it.
std::string writeTargetProblem(const std::string &what,
                               const std::string &path,
                               const std::vector<std::string> &sources,
                               const std::string &seedFile,
                               const std::string &outputDirectory);

/// Every check of a whole request, in this order: control characters in the title, the output
/// directory, the seed file and the sources; base names; the sources and the seed file against
/// the files the run writes.
std::string requestProblem(const std::vector<std::string> &sources,
                           const std::string &seedFile,
                           const std::string &outputDirectory,
                           const std::string &title);

} // namespace ConversionInputs
