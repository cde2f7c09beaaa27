#pragma once

#include <string>
#include <utility>
#include <vector>

/// What `kelhost --analyze` runs: for each COBOL source the compiler driver (zmc2, which checks
/// it with GnuCOBOL and writes its analysis data) and then the program-unit builder (kelmkpu,
/// which analyses the data and records the unit), both with the command lines the conversion
/// uses, into one analysis database under the user's cache directory.
///
/// The database's directory is named after the sources and a digest of their paths and the
/// dialect, so analysing the same sources again replaces their units in the same database, and
/// another set of sources never mixes with it.
class AnalysisPlan final
{
public:
    /// One program run: `program` is a tool name (zmc2, kelmkpu) found beside kelhost or on PATH.
    struct Step
    {
        enum class Tool { compilerDriver, unitBuilder };
        Tool tool = Tool::compilerDriver;
        std::string program;
        std::vector<std::string> arguments;
        std::string workingDirectory;
        /// Variables set for the child on top of kelhost's environment.
        std::vector<std::pair<std::string, std::string>> environment;
        /// The source the step is for (absolute).
        std::string source;
        /// Return codes from 0 to this one count as success (0 and 4: warnings).
        int highestSuccess = 4;
    };

    /// Builds the plan; false with `error` set when a source does not exist, is not a regular
    /// file, or shares its base name with another (their results would overwrite each other).
    bool build(const std::vector<std::string> &sources,
               const std::string &dialect,
               const std::vector<std::string> &includeDirectories,
               const std::string &cacheDirectory,
               std::string &error);

    /// `<cache>/analysis/<name>-<digest>`.
    const std::string &outputDirectory() const { return m_outputDirectory; }
    /// `<output directory>/chxanalysis.db`.
    std::string databaseFile() const;
    /// The execution unit's name: the sources' common directory's name (one source: its base
    /// name).
    const std::string &title() const { return m_title; }
    /// The sources, absolute, in the order given.
    const std::vector<std::string> &sources() const { return m_sources; }
    /// Two steps per source: compile, then build.
    const std::vector<Step> &steps() const { return m_steps; }

    /// A 64-bit FNV-1a digest as 16 lower-case hexadecimal digits (stable across runs).
    static std::string digest(const std::string &text);

private:
    std::string m_outputDirectory;
    std::string m_title;
    std::vector<std::string> m_sources;
    std::vector<Step> m_steps;
};
