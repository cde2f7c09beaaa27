#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

/// The command line of kelconv:
///   kelconv [--seed FILE] [--out DIR] [--title TEXT] [--settings FILE] [SOURCE...]
/// Each option also takes the form --name=VALUE. "--" ends the options.
struct KelconvOptions
{
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
};
