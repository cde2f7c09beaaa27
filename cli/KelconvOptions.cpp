#include "KelconvOptions.h"

#include <array>
#include <ostream>
#include <utility>

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
    return R"help(Usage: kelconv [--seed FILE] [--out DIR] [--title TEXT] [--settings FILE] [SOURCE...]

Runs the Year 2000 date-field conversion of COBOL sources without the wizard: the compile
pass (zmc2), the analysis pass (kelmkpu, repeated while the copybook knowledge grows), the
conversion pass (vyquext), and then creates a project. The tools are found on PATH.

Options:
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
each tool, "Error:  ..." messages), then a summary:
  File:  0xNN  <path>         one line per source with its final state byte
  Counters:  compile S/F  analysis S/F  conversion S/F
  Project:  <path>            or "Project:  (none)"
  Database:  <path>           the analysis database of the run's program units (kelmkpu
                              records them in <out>/chxanalysis.db; read it with keldb),
                              or "Database:  (none)"
On a terminal, progress goes to standard error. Ctrl-C (SIGINT) or SIGTERM cancels the run
like the wizard's Cancel button: the running tool is killed and the run stops.

Exit status:
  0   every source succeeded in every pass and the project was made
  1   some source failed, or no project was made
  2   an error ended the run, or it was cancelled
  64  usage error (also when there are no sources)

Settings (environment.ini in $CHRONEX_HOME, see kelenv): QVFWORK of group
"Conversion & Structuring" (conversion options files), PRJDIR and CONFIG_PATH of group
Toolbench (project directory and project options template).
Environment: YWIZ_TRACE_XCOMP=1 (or yes/on) adds the "XCOMP" trace of the analysis loop;
the tools find the output directory in CHRONEX_OUTPUT_DIR and the title in CHRONEX_TITLE.
)help";
}
