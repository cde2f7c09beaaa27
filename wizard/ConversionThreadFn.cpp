#include "ConversionThreadFn.h"

#include "ConversionFile.h"
#include "ConversionProgressWindow.h"
#include "ConversionWizard.h"
#include "Environment.h"
#include "InputSettings.h"
#include "SeedTable.h"
#include "XcompTrace.h"

#include <exception>
#include <filesystem>
#include <ostream>

ConversionThreadFn::ConversionThreadFn(ConversionProgressWindow &window,
                                       ConversionWizard &wizard,
                                       std::string &projectPath,
                                       std::ostream &console)
    : m_window(window)
    , m_projectPath(projectPath)
    , m_console(console)
{
    const InputSettings &settings = InputSettings::instance();
    const ConversionFileCollection &files = wizard.files();
    for (std::size_t i = 0; i < files.size(); ++i)
        m_request.files.push_back(&files.at(i));
    m_request.compileOptions = settings.compileOptions;
    m_request.seedFile = wizard.seedFile();
    m_request.outputDirectory = wizard.outputDirectory();
    m_request.templateProject = settings.projectName;
    m_request.title = wizard.conversionTitle();
}

void ConversionThreadFn::operator()() noexcept
{
    try {
        // The seed file panel offers to create the output directory; should it still be
        // missing, the run creates it rather than failing on its first result file.
        std::error_code error;
        std::filesystem::create_directories(m_request.outputDirectory, error);
        if (error || !std::filesystem::is_directory(m_request.outputDirectory)) {
            const std::string text = "The output directory " + m_request.outputDirectory
                                     + " cannot be created: "
                                     + (error ? error.message() : "a file has that name") + ".";
            m_console << "Error:  " << text << std::endl;
            m_window.runFinished({}, text);
            return;
        }

        SeedTable table(XcompTrace(XcompTrace::startupSwitch(), m_console));
        ConversionRun run(m_request, table, m_window.control(), m_window, m_console, &readenv);
        m_projectPath = run.run();
        m_console << ConversionRun::databaseLine(m_request.outputDirectory) << std::endl;
    } catch (const std::exception &error) {
        // ConversionRun reports its own errors; this is what it could not (e.g. no memory).
        m_window.runFinished({}, error.what());
    } catch (...) {
        m_window.runFinished({}, "The conversion ended by an unexpected error.");
    }
}
