#include "KelconvOptions.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <thread>
#include <utility>

namespace {

/// The number of -j: digits only, from 1 to KelconvOptions::maximumJobs.
std::optional<std::size_t> jobCount(const std::string &text)
{
    if (text.empty() || text.size() > 3
        || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const std::size_t count = std::stoul(text);
    if (count < 1 || count > KelconvOptions::maximumJobs)
        return std::nullopt;
    return count;
}

/// Reads the value of -j / --jobs: `inline` when the argument held it, else the next argument.
bool readJobs(const std::vector<std::string> &arguments,
              std::size_t &i,
              std::optional<std::string> inlineValue,
              KelconvOptions &options,
              std::ostream &errors)
{
    if (!inlineValue) {
        if (i + 1 >= arguments.size()) {
            errors << "kelconv: option -j needs a value.\n";
            return false;
        }
        inlineValue = arguments[++i];
    }
    options.jobs = jobCount(*inlineValue);
    if (!options.jobs) {
        errors << "kelconv: option -j needs a whole number from 1 to "
               << KelconvOptions::maximumJobs << ", found '" << *inlineValue << "'.\n";
        return false;
    }
    return true;
}

} // namespace

std::size_t KelconvOptions::defaultJobs()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp<std::size_t>(cores, 1, maximumJobs);
}

std::optional<KelconvOptions> KelconvOptions::parse(const std::vector<std::string> &arguments,
                                                    std::ostream &errors)
{
    KelconvOptions options;
    const std::array<std::pair<const char *, std::optional<std::string> KelconvOptions::*>, 4>
        valued = {{{"--seed", &KelconvOptions::seedFile},
                   {"--out", &KelconvOptions::outputDirectory},
                   {"--title", &KelconvOptions::title},
                   {"--settings", &KelconvOptions::settingsFile}}};

    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.sources.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "-j" || argument == "--jobs" || argument.starts_with("--jobs=")
            || (argument.starts_with("-j") && argument.size() > 2)) {
            std::optional<std::string> inlineValue;
            if (argument.starts_with("--jobs="))
                inlineValue = argument.substr(7);
            else if (argument.starts_with("-j") && argument.size() > 2)
                inlineValue = argument.substr(2);
            if (!readJobs(arguments, i, inlineValue, options, errors))
                return std::nullopt;
            continue;
        }
        bool known = false;
        for (const auto &[name, member] : valued) {
            const std::string prefix = std::string(name) + "=";
            if (argument == name) {
                if (i + 1 >= arguments.size()) {
                    errors << "kelconv: option " << name << " needs a value.\n";
                    return std::nullopt;
                }
                options.*member = arguments[++i];
                known = true;
            } else if (argument.starts_with(prefix)) {
                options.*member = argument.substr(prefix.size());
                known = true;
            }
            if (known)
                break;
        }
        if (!known) {
            errors << "kelconv: unknown option " << argument << ".\n";
            return std::nullopt;
        }
    }
    return options;
}

const char *KelconvOptions::helpText()
{
    return R"help(Usage: kelconv [-j N] [--seed FILE] [--out DIR] [--title TEXT] [--settings FILE] [SOURCE...]

Runs the Year 2000 date-field conversion of COBOL sources without the wizard: the compile
pass (zmc2), the analysis pass (kelmkpu, repeated while the copybook knowledge grows), the
conversion pass (vyquext), and then creates a project. The tools are found on PATH.

Options:
  -j N, --jobs N   run up to N tools at once (1 to 64); default: the number of processor
                   cores. The results (every file in the output directory and the analysis
                   database) are the same for every N; -j 1 runs the tools one after the
                   other as the wizard does, and only with it the console lines keep the
                   order of the file list
  --settings FILE  an input settings file as the launcher writes it: its sources come first,
                   its compile options go to the compile pass, its project is the template
                   of the new project (and gives the default title)
  --seed FILE      the seed file; default: setting SeedFile of group Millenium_Conv, else
                   setting QCOBDIR of group COMMON + "/Samples/Seedfile/sample.xsd"
  --out DIR        the output directory, made when missing; default: the working
                   directory + "/y2kready"
  --title TEXT     the title of the new project; default: "Year 2000 Conversion of " + the
                   template project's name, else "Year 2000 Conversion"
  --help           this text
Each option also takes the form --name=VALUE; "--" ends the options.

SOURCE...          COBOL sources to convert, after those of the settings file.

Output: standard output carries the console lines of the run ("Executed:  ..." after
each tool, in the order the tools end, each with the tool's own output before it;
"Error:  ..." messages), then a summary:
  File:  0xNN  <path>         one line per source with its final state byte
  Counters:  compile S/F  analysis S/F  conversion S/F
  Project:  <path>            or "Project:  (none)"
  Database:  <path>           the analysis database of the run's program units (kelmkpu
                              records them in <out>/chxanalysis.db; read it with keldb),
                              or "Database:  (none)"
The output of each tool is kept per source in <output dir>/<base>.xlg; the log chxconv.log
holds the findings and the tool output of every source that failed or had something said.
On a terminal, progress (files done of all, per pass) goes to standard error. Ctrl-C
(SIGINT), SIGTERM or SIGHUP cancels the run like the wizard's Cancel button: every running
tool is killed and the run stops; what a tool writes appears whole or not at all.

Refused before anything is written (usage error): two sources with the same base name
(their results would overwrite each other), a source or the seed file lying where the run
writes (a result name or chxconv.log in the output directory), a source that is no regular
file, and a title or path with a control character such as a line break.

Exit status:
  0   every source succeeded in every pass and the project was made
  1   some source failed (a failed write of a result counts), or no project was made
  2   an error ended the run, it was cancelled, or an unexpected error occurred
  64  usage error (also when there are no sources)

Settings (environment.ini in $CHRONEX_HOME, see kelenv): QVFWORK of group
"Conversion & Structuring" (conversion options files), PRJDIR and CONFIG_PATH of group
Toolbench (project directory and project options template).
Environment: YWIZ_TRACE_XCOMP=1 (or yes/on) adds the "XCOMP" trace of the analysis loop;
the tools find the output directory in CHRONEX_OUTPUT_DIR and the title in CHRONEX_TITLE.
)help";
}
