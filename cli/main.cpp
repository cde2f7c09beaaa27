// kelconv: the conversion run of the wizard, without the wizard.

#include "ConsoleObserver.h"
#include "ConversionControl.h"
#include "ConversionFile.h"
#include "ConversionRun.h"
#include "Environment.h"
#include "IException.h"
#include "InputSettings.h"
#include "KelconvOptions.h"
#include "LineReader.h"
#include "PathNames.h"
#include "SeedTable.h"
#include "SignalCanceller.h"
#include "XcompTrace.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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
              << "Usage: kelconv [--seed FILE] [--out DIR] [--title TEXT] [--settings FILE] "
                 "[SOURCE...]\n"
              << "Try 'kelconv --help' for more information.\n";
    return UsageError;
}

std::string absolutePath(const std::string &path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

/// The wizard's default title: "Year 2000 Conversion of " + the name on the template's first
/// "+name=" line (that line without its first six characters), else "Year 2000 Conversion".
std::string defaultTitle(const std::string &templateProject)
{
    const std::string plain = "Year 2000 Conversion";
    if (templateProject.empty())
        return plain;
    std::ifstream in(templateProject, std::ios::binary);
    LineReader reader(in);
    std::string line;
    while (in && reader.readLine(line)) {
        if (line.find("+name=") == std::string::npos)
            continue;
        const std::string name = line.size() > 6 ? line.substr(6) : std::string();
        return name.empty() ? plain : plain + " of " + name;
    }
    return plain;
}

/// The wizard's default seed file.
std::string defaultSeedFile()
{
    std::string seed = readenv("SeedFile", "Millenium_Conv");
    if (seed.empty())
        seed = readenv("QCOBDIR", "COMMON") + "/Samples/Seedfile/sample.xsd";
    return seed;
}

/// Reads the settings file into the program-wide InputSettings, as the wizard's start-up does.
/// False when the file cannot be opened.
bool readSettings(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
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
    settings.print();
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

} // namespace

int main(int argc, char *argv[])
{
    const std::optional<KelconvOptions> parsed
        = KelconvOptions::parse(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
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

    std::vector<std::string> sources;
    std::set<std::string> seen;
    for (const std::string &file : settings.files) {
        if (seen.insert(absolutePath(file)).second)
            sources.push_back(absolutePath(file));
    }
    for (const std::string &file : options.sources) {
        std::error_code error;
        if (!fs::is_regular_file(file, error))
            return usageError("the source " + file + " is not an existing file.");
        if (seen.insert(absolutePath(file)).second)
            sources.push_back(absolutePath(file));
    }
    if (sources.empty())
        return usageError("no COBOL sources given.");

    std::string outputDirectory = options.outputDirectory
                                      ? *options.outputDirectory
                                      : PathNames::join(fs::current_path().string(), "y2kready");
    outputDirectory = PathNames::withoutTrailingSeparators(absolutePath(outputDirectory));
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
    request.seedFile = absolutePath(options.seedFile ? *options.seedFile : defaultSeedFile());
    request.outputDirectory = outputDirectory;
    request.templateProject = settings.projectName;
    request.title = options.title ? *options.title : defaultTitle(settings.projectName);

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
