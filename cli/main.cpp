// kelconv: the conversion run of the wizard, without the wizard.

#include "ConsoleObserver.h"
#include "ConversionControl.h"
#include "ConversionDefaults.h"
#include "ConversionFile.h"
#include "ConversionInputs.h"
#include "ConversionRun.h"
#include "Environment.h"
#include "IException.h"
#include "InputSettings.h"
#include "KelconvOptions.h"
#include "PathNames.h"
#include "RegularFile.h"
#include "SeedTable.h"
#include "SignalCanceller.h"
#include "XcompTrace.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

enum ExitStatus { AllConverted = 0, SomeFailed = 1, RunEnded = 2, UsageError = 64 };

int usageError(const std::string &message)
{
    std::cerr << "kelconv: " << message << "\n"
              << "Usage: kelconv [-j N] [--seed FILE] [--out DIR] [--title TEXT] "
                 "[--settings FILE] [SOURCE...]\n"
              << "Try 'kelconv --help' for more information.\n";
    return UsageError;
}

std::string absolutePath(const std::string &path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

/// Reads the settings file into the program-wide InputSettings, as the wizard's start-up does.
/// False when it is no regular file that can be read (a FIFO is refused without waiting).
bool readSettings(const std::string &path)
{
    const RegularFile::Result file = RegularFile::read(path);
    if (!file)
        return false;
    std::istringstream in(file.text);
    InputSettings &settings = InputSettings::instance();
    try {
        settings.read(in, std::cout);
    } catch (const IException &) {
        std::cout << "Error:  The input file has bad formating.\n"
                  << "        The rest of the input file has been discarded, Processing will "
                     "continue."
                  << std::endl;
    }
    const std::string hyphens(54, '-');
    std::cout << hyphens << "\n"
              << "The Parameters passed to the wizard are:" << std::endl;
    settings.print(std::cout);
    std::cout << hyphens << std::endl;
    return true;
}

std::string hexState(std::uint8_t state)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setw(2) << std::setfill('0')
         << static_cast<unsigned>(state);
    return text.str();
}

/// The sources of the settings file, then those of the command line, each once, as absolute
/// paths. Empty, with `problem` set, when a command-line source is no regular file or two
/// sources share a base name.
std::vector<std::string> collectSources(const InputSettings &settings,
                                        const KelconvOptions &options,
                                        std::string &problem)
{
    std::vector<std::string> sources;
    std::set<std::string> seen;
    const auto add = [&](const std::string &file) {
        const std::string path = absolutePath(file);
        if (!seen.insert(path).second)
            return true;
        // Refused when the list is built: their results would overwrite each other.
        if (const std::string first = ConversionInputs::baseNameConflict(sources, path);
            !first.empty()) {
            problem = ConversionInputs::baseNameConflictMessage(first, path);
            return false;
        }
        sources.push_back(path);
        return true;
    };
    for (const std::string &file : settings.files) {
        if (!add(file))
            return {};
    }
    for (const std::string &file : options.sources) {
        std::error_code error;
        if (!fs::exists(file, error)) {
            problem = "the source " + file + " is not an existing file.";
            return {};
        }
        if (!RegularFile::isRegular(file)) {
            problem = "the source " + file + " is not a regular file.";
            return {};
        }
        if (!add(file))
            return {};
    }
    if (sources.empty())
        problem = "no COBOL sources given.";
    return sources;
}

/// The program without its last line of defence: reads the arguments, checks the request,
/// runs the conversion and prints the summary; the exit status.
int convert(const std::vector<std::string> &arguments)
{
    const std::optional<KelconvOptions> parsed = KelconvOptions::parse(arguments, std::cerr);
    if (!parsed)
        return usageError("invalid arguments.");
    const KelconvOptions &options = *parsed;
    if (options.help) {
        std::cout << KelconvOptions::helpText();
        return AllConverted;
    }

    InputSettings &settings = InputSettings::instance();
    if (options.settingsFile && !readSettings(*options.settingsFile))
        return usageError("the settings file " + *options.settingsFile + " cannot be opened.");

    std::string problem;
    const std::vector<std::string> sources = collectSources(settings, options, problem);
    if (sources.empty())
        return usageError(problem);

    std::string outputDirectory = options.outputDirectory ? *options.outputDirectory
                                                          : ConversionDefaults::outputDirectory(
                                                              fs::current_path().string());
    outputDirectory = PathNames::withoutTrailingSeparators(absolutePath(outputDirectory));
    const std::string seedFile = absolutePath(
        options.seedFile ? *options.seedFile : ConversionDefaults::seedFile(&readenv));
    const std::string title = options.title ? *options.title
                                            : ConversionDefaults::title(settings.projectName);
    // Nothing is made before the request has passed the checks the run itself makes.
    problem = ConversionInputs::requestProblem(sources, seedFile, outputDirectory, title);
    if (!problem.empty())
        return usageError(problem);

    std::error_code error;
    fs::create_directories(outputDirectory, error);
    if (error || !fs::is_directory(outputDirectory)) {
        std::cerr << "kelconv: the output directory " << outputDirectory
                  << " cannot be created: " << (error ? error.message() : "not a directory") << "."
                  << std::endl;
        return RunEnded;
    }

    ConversionRun::Request request;
    request.compileOptions = settings.compileOptions;
    request.seedFile = seedFile;
    request.outputDirectory = outputDirectory;
    request.templateProject = settings.projectName;
    request.title = title;
    request.jobs = options.jobs.value_or(KelconvOptions::defaultJobs());

    ConversionFile::setOutputDirectory(outputDirectory);
    std::vector<std::unique_ptr<ConversionFile>> files;
    for (const std::string &source : sources) {
        files.push_back(std::make_unique<ConversionFile>(source));
        request.files.push_back(files.back().get());
    }

    ConversionControl control;
    SignalCanceller canceller(control);
    SeedTable table(XcompTrace(XcompTrace::startupSwitch(), std::cout));
    ConsoleObserver observer(isatty(STDERR_FILENO) ? &std::cerr : nullptr);
    ConversionRun run(std::move(request), table, control, observer, std::cout, &readenv);
    run.run();

    bool allConverted = true;
    for (const auto &file : files) {
        std::cout << "File:  " << hexState(file->state()) << "  " << file->fullPath() << "\n";
        allConverted = allConverted && (file->state() == 0x81 || file->state() == 0x82);
    }
    std::cout << "Counters:";
    for (const auto pass : {ConversionObserver::Pass::Compile,
                            ConversionObserver::Pass::Analysis,
                            ConversionObserver::Pass::Conversion}) {
        const ConversionControl::Counters &counters = control.counters(pass);
        std::cout << "  " << ConsoleObserver::passName(pass) << " " << counters.success.load()
                  << "/" << counters.failure.load();
        allConverted = allConverted && counters.failure.load() == 0;
    }
    std::cout << "\n"
              << "Project:  "
              << (observer.projectPath().empty() ? std::string("(none)") : observer.projectPath())
              << "\n"
              << ConversionRun::databaseLine(outputDirectory) << std::endl;

    if (control.isCancelled()) {
        std::cerr << "kelconv: the run was cancelled." << std::endl;
        return RunEnded;
    }
    if (!observer.errorText().empty()) {
        std::cerr << "kelconv: the run ended early: " << observer.errorText() << std::endl;
        return RunEnded;
    }
    return allConverted && !observer.projectPath().empty() ? AllConverted : SomeFailed;
}

} // namespace

int main(int argc, char *argv[])
{
    // A full disk or file-size limit makes a write fail (reported, the file's state says so)
    // instead of ending the program; so does a reader of the output that has gone away.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    // No exception may leave the program: whatever was not handled where it arose ends the run
    // with its documented status.
    try {
        return convert(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception &error) {
        std::cerr << "kelconv: the run ended by an unexpected error: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "kelconv: the run ended by an unexpected error." << std::endl;
    }
    return RunEnded;
}
