#include "ProjectCreator.h"

#include "ConversionInputs.h"
#include "ConversionObserver.h"
#include "IException.h"
#include "KelwizResourceIds.h"
#include "LineReader.h"
#include "OutputFile.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <filesystem>
#include <ostream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char *const projectErrorText = "Cannot create new project.";

/// The letters of the short-name search: y, z, a, b, ... x.
char cyclicLetter(int index)
{
    return static_cast<char>('a' + (index + 24) % 26);
}

bool exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(path, error);
}

} // namespace

ProjectCreator::ProjectCreator(EnvironmentReader environment,
                               ConversionObserver &observer,
                               std::ostream &console)
    : m_environment(std::move(environment))
    , m_observer(observer)
    , m_console(console)
{}

bool ProjectCreator::isShortName(const std::string &fileName)
{
    const std::size_t firstDot = fileName.find('.');
    if (firstDot == std::string::npos)
        return fileName.size() <= 4;
    if (fileName.find('.', firstDot + 1) != std::string::npos)
        return false;
    // 1-based position of the dot is firstDot + 1.
    return firstDot + 1 <= 7 && fileName.size() - (firstDot + 1) <= 4;
}

std::string ProjectCreator::doubledBackslashes(const std::string &text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        result += c;
        if (c == '\\')
            result += '\\';
    }
    return result;
}

std::string ProjectCreator::freeTemplateName(const std::string &templatePath,
                                             const std::string &directory)
{
    const std::string name = PathNames::fileName(templatePath);
    const auto candidate = [&](const std::string &prefix) {
        return PathNames::join(directory, prefix + name);
    };

    if (!isShortName(name)) {
        if (const std::string path = candidate("y"); !exists(path))
            return path;
        if (const std::string path = candidate("y2k"); !exists(path))
            return path;
        for (unsigned long n = 1;; ++n) {
            if (const std::string path = candidate("y2k" + std::to_string(n)); !exists(path))
                return path;
        }
    }

    for (int first = 0; first < 26; ++first) {
        if (const std::string path = candidate(std::string(1, cyclicLetter(first))); !exists(path))
            return path;
    }
    for (int first = 0; first < 26; ++first) {
        for (int second = 0; second < 26; ++second) {
            const std::string prefix{cyclicLetter(first), cyclicLetter(second)};
            if (const std::string path = candidate(prefix); !exists(path))
                return path;
        }
    }
    m_console << "Could not find a name that does not exceed space requirements." << std::endl;
    throw IAccessError("Could not find an available name.");
}

std::string ProjectCreator::projectDirectory(const std::string &templatePath,
                                             const std::string &outputDirectory)
{
    std::string directory = m_environment("PRJDIR", "Toolbench");
    if (!directory.empty())
        return templatePath.empty() ? directory : PathNames::directory(templatePath);

    const std::string heading = m_observer.resourceText(KelwizRes::noProjectDirectory);
    const std::string where = m_observer.resourceText(KelwizRes::projectCreatedIn) + outputDirectory
                              + ".";
    m_console << "Information:  " << heading << "\n"
              << std::string(14, ' ') << where << "\n"
              << std::endl;
    m_observer.informationMessage({heading, "", where});
    return outputDirectory;
}

void ProjectCreator::projectError(const std::string &title, const std::string &outputDirectory)
{
    const std::string first = m_observer.resourceText(KelwizRes::projectErrorStart) + title
                              + m_observer.resourceText(KelwizRes::projectErrorEnd);
    const std::string second = m_observer.resourceText(KelwizRes::resultsIn) + outputDirectory
                               + ".";
    m_console << "Error:  " << first << "\n" << std::string(8, ' ') << second << std::endl;
    m_observer.errorMessage({first, "", second});
    throw IAccessError(projectErrorText);
}

void ProjectCreator::writeFromTemplate(const std::string &templatePath,
                                       const std::string &projectPath,
                                       const std::string &title,
                                       const std::string &directoryValue)
{
    // Read without blocking: a directory or FIFO named as the template is no project file.
    const RegularFile::Result project = RegularFile::read(templatePath);
    if (!project || project.text.empty())
        throw IAccessError("The template project " + templatePath + " cannot be read.");

    std::istringstream in(project.text);
    LineReader reader(in);
    std::string out;
    std::string line;
    while (reader.readLine(line)) {
        if (line.find("+name=") != std::string::npos)
            out += "+name=" + title + "\n";
        else if (line.find("+defaultDir=") != std::string::npos)
            out += "+defaultDir=" + directoryValue + "\n";
        else if (line.find("+dirs=") != std::string::npos)
            out += "+dirs=" + directoryValue + "\n";
        else if (line.find("+filter=") != std::string::npos)
            out += "+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n";
        else if (line.find("+position=") == std::string::npos && !line.empty())
            out += line + "\n";
    }
    writeProjectFile(projectPath, out);
}

void ProjectCreator::writeFixed(const std::string &projectPath,
                                const std::string &title,
                                const std::string &directoryValue)
{
    const std::string base = PathNames::baseName(projectPath);
    writeProjectFile(projectPath,
                     "-ProjectInfo\n+name=" + title + "\n+type=TELAMRDV.IWS\n-BuildInfo\n+target="
                         + base + ".exe\n+runOptions=\n+makefile=" + base
                         + ".mak\n-LocationInfo\n+defaultDir=" + directoryValue
                         + "\n+dirs=" + directoryValue
                         + "\n-ConfigInfo\n+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n"
                           "+view=icon\n+refresh=yes\n");
}

void ProjectCreator::writeProjectFile(const std::string &projectPath, const std::string &text)
{
    std::string problem;
    if (!OutputFile::replace(projectPath, text, problem))
        throw IAccessError("The project file " + projectPath + " " + problem + ".");
}

void ProjectCreator::copyOptionsTemplate(const std::string &templatePath,
                                         const std::string &optionsPath,
                                         bool &optionsMade)
{
    std::string optionsTemplate;
    if (!templatePath.empty())
        optionsTemplate = PathNames::replaceExtension(templatePath, ".iwo");
    else if (const std::string config = m_environment("CONFIG_PATH", "Toolbench"); !config.empty())
        optionsTemplate = PathNames::join(config, "telamrdv.iwo");
    if (optionsTemplate.empty())
        throw IAccessError("No project options template: the setting CONFIG_PATH of group "
                           "Toolbench is not set.");

    optionsMade = !exists(optionsPath);
    std::string problem;
    if (!OutputFile::copy(optionsTemplate, optionsPath, problem))
        throw IAccessError("The project options file " + optionsTemplate + " cannot be copied to "
                           + optionsPath + ": " + problem + ".");
}

std::string ProjectCreator::create(const std::string &templatePath,
                                   const std::string &title,
                                   const std::string &outputDirectory)
{
    std::string projectPath;
    std::string optionsPath;
    bool projectMade = false;
    bool optionsMade = false;
    try {
        const std::string directory = projectDirectory(templatePath, outputDirectory);
        if (!templatePath.empty()) {
            projectPath = freeTemplateName(templatePath, directory);
        } else {
            for (unsigned long n = 1;; ++n) {
                projectPath = PathNames::join(directory, "y2k" + std::to_string(n) + ".iwp");
                if (!exists(projectPath))
                    break;
            }
        }
        optionsPath = PathNames::replaceExtension(projectPath, ".iwo");

        try {
            // Every value is written as the rest of one line: one that would start a new line
            // cannot be written.
            for (const std::string *value : {&title, &outputDirectory}) {
                if (ConversionInputs::hasControlCharacters(*value))
                    throw IAccessError("A control character in " + *value);
            }
            // The name was free, so whatever stands there after a failure is ours to remove.
            projectMade = true;
            const std::string directoryValue = doubledBackslashes(outputDirectory);
            if (!templatePath.empty())
                writeFromTemplate(templatePath, projectPath, title, directoryValue);
            else
                writeFixed(projectPath, title, directoryValue);
            copyOptionsTemplate(templatePath, optionsPath, optionsMade);
        } catch (const IAccessError &) {
            projectError(title, outputDirectory);
        }
        return projectPath;
    } catch (const IException &) {
        // Reported on the console and to the observer already.
    } catch (const std::exception &) {
        // Memory or a file system failure: no project, as for any other error.
    }
    std::error_code error;
    if (projectMade)
        fs::remove(projectPath, error);
    if (optionsMade)
        fs::remove(optionsPath, error);
    return {};
}
