#pragma once

#include "EnvironmentReader.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

class ConversionControl;
class ConversionFile;
class ConversionObserver;
class SeedTable;

/// One whole conversion run: the compile, analysis and conversion passes (each only while the
/// run has not been cancelled) and then the creation of the project. This is the body of the
/// wizard's conversion thread and of kelconv; it runs on the caller's thread and reports
/// through the observer only.
class ConversionRun final
{
public:
    /// What the run works on and with.
    struct Request
    {
        /// The files, in list order; the caller keeps them alive for the run.
        std::vector<ConversionFile *> files;
        /// Compile options, handed to the compile pass by the compile-argument rule.
        std::string compileOptions;
        /// The user's seed file; only ever read.
        std::string seedFile;
        /// Must exist; result files, the temporary seed file and the log go here. A relative
        /// name is taken against the working directory.
        std::string outputDirectory;
        /// Template project (may be empty) and title of the new project.
        std::string templateProject;
        std::string title;
        /// How many tools may run at once (at least 1, at most
        /// ConversionControl::maximumChildren). With 1 the passes work through the files one
        /// after the other, as the wizard does; with more, the compile and conversion passes
        /// run that many tools at a time and the analysis pass starts builder runs ahead of
        /// their turn. The results are the same either way; only the order of the console
        /// lines differs.
        std::size_t jobs = 1;
    };

    /// `environment` reads the settings QVFWORK, PRJDIR and CONFIG_PATH; `console` receives
    /// the console lines. The analysis pass writes its "XCOMP" lines through the table's trace
    /// (same switch and stream as the table's own lines). The run sets the program-wide output
    /// directory of ConversionFile to the request's.
    ConversionRun(Request request,
                  SeedTable &table,
                  ConversionControl &control,
                  ConversionObserver &observer,
                  std::ostream &console,
                  EnvironmentReader environment);

    /// Runs the passes and creates the project; returns the project path, empty when none was
    /// made. Never throws: an error that ends the run (a class-library access error from a
    /// pass) is reported to `ConversionObserver::runFinished` with its text, as is the result.
    /// A cancelled run creates no project.
    ///
    /// Before anything is written the request is checked (ConversionInputs::requestProblem):
    /// a title or path with a control character, two sources with one base name, or a source
    /// or seed file lying where the run writes ends the run at once with an "Error:  " line.
    /// Relative paths in the request are made absolute against the working directory first.
    std::string run();

    /// The analysis database that kelmkpu records the program units in: `chxanalysis.db` in
    /// the output directory. Empty when the directory holds none (no unit was recorded).
    static std::string analysisDatabase(const std::string &outputDirectory);
    /// The console line that names it: "Database:  " + the path, or "Database:  (none)".
    static std::string databaseLine(const std::string &outputDirectory);

private:
    void checkRequest();
    void runPasses(std::string &projectPath);

    Request m_request;
    SeedTable &m_table;
    ConversionControl &m_control;
    ConversionObserver &m_observer;
    std::ostream &m_console;
    EnvironmentReader m_environment;
};
