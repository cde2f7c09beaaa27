#include "ConversionRun.h"

#include "AnalysisPass.h"
#include "ChildProcessRunner.h"
#include "CompilePass.h"
#include "ConversionControl.h"
#include "ConversionFile.h"
#include "ConversionInputs.h"
#include "ConversionOptionsFile.h"
#include "ConversionPass.h"
#include "DbEu.h"
#include "IException.h"
#include "KelwizResourceIds.h"
#include "PathNames.h"
#include "ProjectCreator.h"
#include "SeedTable.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

ConversionRun::ConversionRun(Request request,
                             SeedTable &table,
                             ConversionControl &control,
                             ConversionObserver &observer,
                             std::ostream &console,
                             EnvironmentReader environment)
    : m_request(std::move(request))
    , m_table(table)
    , m_control(control)
    , m_observer(observer)
    , m_console(console)
    , m_environment(std::move(environment))
{}

void ConversionRun::checkRequest()
{
    // The tools run in the sources' directories: a relative name would be resolved there.
    m_request.outputDirectory = PathNames::absolute(m_request.outputDirectory);
    m_request.seedFile = PathNames::absolute(m_request.seedFile);
    m_request.templateProject = PathNames::absolute(m_request.templateProject);

    std::vector<std::string> sources;
    for (const ConversionFile *file : m_request.files)
        sources.push_back(file->fullPath());
    std::string problem = ConversionInputs::requestProblem(sources,
                                                           m_request.seedFile,
                                                           m_request.outputDirectory,
                                                           m_request.title);
    if (problem.empty())
        problem = ConversionInputs::pathProblem("template project", m_request.templateProject);
    if (!problem.empty()) {
        m_console << "Error:  " << problem << std::endl;
        throw IAccessError(problem);
    }
}

void ConversionRun::runPasses(std::string &projectPath)
{
    // Nothing is written before the request has passed its checks.
    checkRequest();
    // The files name their results after the program-wide output directory.
    ConversionFile::setOutputDirectory(m_request.outputDirectory);
    const std::size_t jobs = std::clamp<std::size_t>(m_request.jobs,
                                                     1,
                                                     ConversionControl::maximumChildren);
    ChildProcessRunner runner(jobs, m_control, &m_observer);
    PassContext context{m_request.files,
                        m_control,
                        m_observer,
                        m_console,
                        m_request.outputDirectory,
                        m_request.title,
                        runner};

    if (!m_control.isCancelled()) {
        m_observer.statusText(KelwizRes::statusCompiling, "Compiling the COBOL sources...");
        CompilePass(context, m_request.compileOptions).run();
    }
    if (!m_control.isCancelled()) {
        m_observer.statusText(KelwizRes::statusAnalysing, "Analysing the date fields...");
        // The pass's "XCOMP" lines follow the table's trace switch and stream.
        AnalysisPass(context, m_table, m_request.seedFile, m_table.trace()).run();
    }
    if (!m_control.isCancelled()) {
        m_observer.statusText(KelwizRes::statusConverting, "Converting the COBOL sources...");
        ConversionOptionsFile optionsFile(m_environment);
        ConversionPass(context, optionsFile).run();
    }
    if (!m_control.isCancelled()) {
        m_observer.statusText(KelwizRes::statusCreatingProject, "Creating the project...");
        projectPath = ProjectCreator(m_environment, m_observer, m_console)
                          .create(m_request.templateProject,
                                  m_request.title,
                                  m_request.outputDirectory);
    }
}

std::string ConversionRun::run()
{
    std::string projectPath;
    std::string errorText;
    try {
        runPasses(projectPath);
    } catch (const IException &error) {
        errorText = error.text();
    } catch (const std::exception &error) {
        // Nothing else is expected here, but no exception may leave the engine's thread.
        errorText = error.what();
    }
    m_console.flush();
    m_observer.runFinished(projectPath, errorText);
    return projectPath;
}

std::string ConversionRun::analysisDatabase(const std::string &outputDirectory)
{
    const std::string path = DbEu::databasePathIn(outputDirectory);
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

std::string ConversionRun::databaseLine(const std::string &outputDirectory)
{
    const std::string path = analysisDatabase(outputDirectory);
    return "Database:  " + (path.empty() ? std::string("(none)") : path);
}
