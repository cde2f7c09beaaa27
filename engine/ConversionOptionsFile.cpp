#include "ConversionOptionsFile.h"

#include "ConversionInputs.h"
#include "IException.h"
#include "OutputFile.h"
#include "PathNames.h"

#include <array>
#include <filesystem>
#include <ostream>
#include <system_error>

namespace fs = std::filesystem;

ConversionOptionsFile::ConversionOptionsFile(EnvironmentReader environment)
    : m_environment(std::move(environment))
{}

const std::string &ConversionOptionsFile::workDirectory(std::ostream &console)
{
    if (!m_workDirectory) {
        std::string directory = m_environment("QVFWORK", "Conversion & Structuring");
        if (directory.empty()) {
            console << "Error:  Cannot find QVFWORK environment variable." << std::endl;
            throw IAccessError("Cannot find QVFWORK environment variable.");
        }
        m_workDirectory = std::move(directory);
    }
    return *m_workDirectory;
}

std::string ConversionOptionsFile::content(const std::string &sourcePath,
                                           const std::string &cvtPath,
                                           const std::string &xcaPath,
                                           const std::string &outputDirectory)
{
    // Each value is one line of the file: one that would start a new line is refused.
    for (const std::string *value : {&sourcePath, &cvtPath, &xcaPath, &outputDirectory}) {
        if (ConversionInputs::hasControlCharacters(*value))
            throw IAccessError("The path " + *value
                               + " cannot be written into a conversion options file: it holds "
                                 "a control character.");
    }
    const std::array<std::string, 44> lines = {
        "V2R2F1 QVF TRCAFile Options",
        "Input File",
        sourcePath,
        "10",
        "",
        "Output File",
        cvtPath,
        outputDirectory,
        "1",
        "3",
        "",
        "TPMX",
        "0",
        "0",
        "0",
        "0",
        "",
        "",
        "CHX",
        "1",
        xcaPath,
        "",
        "",
        "General",
        "1",
        "1",
        "1",
        "1",
        "1",
        "0",
        "1",
        "1",
        "1",
        "0",
        "",
        "Format",
        "1",
        "100",
        "0",
        "74",
        "",
        "",
        "",
        "CopyLibrary",
    };
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size())
            text += '\n';
    }
    return text;
}

std::string ConversionOptionsFile::write(const std::string &sourcePath,
                                         const std::string &cvtPath,
                                         const std::string &xcaPath,
                                         const std::string &outputDirectory,
                                         std::ostream &console)
{
    const std::string path = PathNames::join(workDirectory(console),
                                             PathNames::baseName(sourcePath) + ".c3a");
    const std::string setAside = PathNames::replaceExtension(path, ".c4a");
    std::error_code error;
    if (fs::exists(path, error)) {
        // Neither file belongs to this run: a set-aside file already there (another run's, or
        // one left by a run that did not end) is never overwritten.
        if (fs::exists(setAside, error) || fs::is_symlink(setAside, error)) {
            const std::string text = "The conversion options file " + path
                                     + " cannot be set aside: " + setAside
                                     + " exists already. Move one of them away.";
            console << "Error:  " << text << std::endl;
            throw IAccessError(text);
        }
        // Never overwrite a file that could not be set aside: it belongs to someone else.
        fs::rename(path, setAside, error);
        if (error) {
            const std::string text = "The conversion options file " + path
                                     + " cannot be renamed to " + setAside + ": " + error.message()
                                     + ".";
            console << "Error:  " << text << std::endl;
            throw IAccessError(text);
        }
    }

    OutputFile out;
    if (!out.create(path) || !out.write(content(sourcePath, cvtPath, xcaPath, outputDirectory))
        || !out.close()) {
        const std::string text = "The conversion options file " + path + " " + out.problem() + ".";
        if (const std::string problem = remove(path); !problem.empty())
            console << "Error:  " << problem << std::endl;
        console << "Error:  " << text << std::endl;
        throw IAccessError(text);
    }
    return path;
}

std::string ConversionOptionsFile::remove(const std::string &path)
{
    std::error_code error;
    fs::remove(path, error);
    const std::string setAside = PathNames::replaceExtension(path, ".c4a");
    if (!fs::exists(setAside, error) && !fs::is_symlink(setAside, error))
        return {};
    fs::rename(setAside, path, error);
    if (!error)
        return {};
    return "The conversion options file " + setAside
           + " set aside during the conversion cannot "
             "be given back its name "
           + path + ": " + error.message() + ".";
}
