#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

/// The command line of kelconv:
///   kelconv [-j N] [--seed FILE] [--out DIR] [--title TEXT] [--settings FILE] [SOURCE...]
/// Each long option also takes the form --name=VALUE; -j N is also -jN, --jobs N and
/// --jobs=N. "--" ends the options.
struct KelconvOptions
{
    /// The most tools `-j` may ask to run at once.
    static constexpr std::size_t maximumJobs = 64;

    /// How many tools run at once; none given: `defaultJobs()`.
    std::optional<std::size_t> jobs;
    std::optional<std::string> seedFile;
    std::optional<std::string> outputDirectory;
    std::optional<std::string> title;
    std::optional<std::string> settingsFile;
    std::vector<std::string> sources;
    bool help = false;

    /// Parses `arguments` (without the program name). Returns nothing and writes a message
    /// naming the bad argument to `errors` on a usage error.
    static std::optional<KelconvOptions> parse(const std::vector<std::string> &arguments,
                                               std::ostream &errors);

    /// The text of --help.
    static const char *helpText();

    /// The number of processor cores (1 when it cannot be told), at most `maximumJobs`.
    static std::size_t defaultJobs();
};
