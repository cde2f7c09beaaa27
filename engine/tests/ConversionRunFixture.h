#pragma once

// The fixture of the whole conversion runs over the stand-in tools: sources, an output
// directory, a settings file of the test's own and the stand-ins first on PATH.

#include "ConversionControl.h"
#include "ConversionFile.h"
#include "ConversionRun.h"
#include "Environment.h"
#include "RunTestSupport.h"
#include "SeedTable.h"
#include "XcompTrace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace ConversionRunFixture {

namespace fs = std::filesystem;
using namespace RunTestSupport;

/// A program-info file: the program includes `copybook` (none when empty) and reports one run
/// of `kind` at bytes 1..2 of it.
inline std::string programInfo(const std::string &program,
                               const std::string &copybook,
                               const std::string &kind)
{
    std::string text = "<PROGRAM-INFO>\n<FILE> " + program + ".cbl </FILE>\n";
    if (copybook.empty())
        return text + "</PROGRAM-INFO>\n";
    return text + "<FILE> " + copybook + " </FILE>\n</PROGRAM-INFO>\n<INCLUDE> " + copybook
           + " Q\n<RESULT>\n<" + kind + ">\n<INDEX> 1 <LENGTH> 2\n</" + kind + ">\n</RESULT>\n";
}

inline const std::string hyphens(70, '-');

class ConversionRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const fs::path &directory : {sources, out, work, projects, config, data, home})
            fs::create_directories(directory);
        writeFile(config / "telamrdv.iwo", "options template\n");
        writeFile(seed, "* the user's seed file\n");
        settings = {{"Conversion & Structuring", {{"QVFWORK", work.string()}}},
                    {"Toolbench",
                     {{"PRJDIR", projects.string()}, {"CONFIG_PATH", config.string()}}}};
        environment.set("CHRONEX_HOME", home.string());
        environment.set("PATH", standInDirectory().string() + ":" + std::getenv("PATH"));
        environment.set("STANDIN_DIR", data.string());
        environment.set("STANDIN_QVFWORK", work.string());
    }

    void addProgram(const std::string &base, const std::string &programInfoText = {})
    {
        const fs::path source = sources / (base + ".cbl");
        writeFile(source, "       IDENTIFICATION DIVISION.\n");
        if (!programInfoText.empty())
            writeFile(data / (base + ".xrl"), programInfoText);
        files.push_back(std::make_unique<ConversionFile>(source.string()));
    }

    /// Adds a source at `path` (made with a line of COBOL when it does not exist).
    void addSource(const fs::path &path)
    {
        if (!fs::exists(path))
            writeFile(path, "       IDENTIFICATION DIVISION.\n");
        files.push_back(std::make_unique<ConversionFile>(path.string()));
    }

    std::string run()
    {
        writeEnvironment(home, settings);
        ConversionRun::Request request;
        for (const auto &file : files)
            request.files.push_back(file.get());
        request.compileOptions = compileOptions;
        request.seedFile = seedFile.empty() ? seed.string() : seedFile;
        request.outputDirectory = outputDirectory.empty() ? out.string() : outputDirectory;
        request.title = title;
        request.jobs = jobs;
        return ConversionRun(request, table, control, observer, console, &readenv).run();
    }

    std::string state(std::size_t index) const
    {
        char text[8];
        std::snprintf(text, sizeof text, "0x%02X", files[index]->state());
        return text;
    }

    std::string counters() const
    {
        std::string text;
        for (auto pass : {ConversionObserver::Pass::Compile,
                          ConversionObserver::Pass::Analysis,
                          ConversionObserver::Pass::Conversion}) {
            const auto &c = control.counters(pass);
            text += std::to_string(c.success.load()) + "/" + std::to_string(c.failure.load()) + " ";
        }
        return text;
    }

    /// How often `tool` ran for program `base`.
    int calls(const std::string &tool, const std::string &base) const
    {
        std::istringstream lines(readFile(data / "calls"));
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with(tool + " ") && line.find("/" + base + ".") != std::string::npos)
                ++count;
        }
        return count;
    }

    std::string executedZmc2(const std::string &base, int code) const
    {
        const std::string source = (sources / (base + ".cbl")).string();
        return hyphens + "\nExecuted:  zmc2  -c  -i" + sources.string() + " -qANALYZE " + source
               + " ==> " + std::to_string(code) + "\n";
    }
    std::string executedKelmkpu(const std::string &base, int code) const
    {
        return hyphens + "\nExecuted:  kelmkpu " + (out / (base + ".adt")).string() + " /r "
               + (out / "user seed.asd").string() + " /m- /c /u+ /d " + out.string() + " ==> "
               + std::to_string(code) + "\n";
    }
    std::string executedVyquext(const std::string &base, int code) const
    {
        return hyphens + "\nExecuted:  vyquext /h " + (sources / (base + ".cbl")).string() + " ==> "
               + std::to_string(code) + "\n";
    }

    TemporaryDirectory temporary;
    const fs::path root = temporary.path();
    const fs::path sources = root / "my sources";
    const fs::path out = root / "out";
    const fs::path work = root / "work";
    const fs::path projects = root / "projects";
    const fs::path config = root / "config";
    const fs::path data = root / "standin";
    const fs::path home = root / "home";
    const fs::path seed = root / "user seed.xsd";
    std::map<std::string, std::map<std::string, std::string>> settings;
    std::string compileOptions;
    std::string title = "Year 2000 Conversion";
    /// How many tools the run starts at once.
    std::size_t jobs = 1;
    /// The request's output directory and seed file as given; empty: `out` and `seed`.
    std::string outputDirectory;
    std::string seedFile;
    ScopedEnvironment environment;
    std::vector<std::unique_ptr<ConversionFile>> files;
    std::ostringstream console;
    SeedTable table{XcompTrace(XcompTrace::Switch::On, console)};
    ConversionControl control;
    RecordingObserver observer;
};

} // namespace ConversionRunFixture
