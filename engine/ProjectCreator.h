#pragma once

#include "EnvironmentReader.h"

#include <iosfwd>
#include <string>

class ConversionObserver;

/// Creates the project that the project tool opens after a conversion run: a free project file
/// name, the project file (from a template project or a fixed form) and its options file.
class ProjectCreator final
{
public:
    ProjectCreator(EnvironmentReader environment,
                   ConversionObserver &observer,
                   std::ostream &console);

    /// Creates the project and returns its path, or an empty text when none could be made. Every
    /// error is caught here: its messages have been printed (and shown through the observer),
    /// and whatever project file or ".iwo" file this call made is deleted again.
    ///
    /// `templatePath` (may be empty) is an existing project file to copy from; the new project
    /// then gets a free name after it, in the template's directory. Without template the new
    /// project is y2k<n>.iwp in the directory of the setting PRJDIR/Toolbench. When PRJDIR is
    /// unset, the project goes into `outputDirectory` in both cases (the user is told): the
    /// template's directory may be read-only, as an installation's data directory is.
    ///
    /// The project and options files are written whole or not at all. A title or directory
    /// with a control character, which would start a line of its own in the project file, is a
    /// project error.
    std::string create(const std::string &templatePath,
                       const std::string &title,
                       const std::string &outputDirectory);

    /// A template file name is short when it holds at most one ".", its first "." stands at
    /// (1-based) position 7 or earlier, and at most 4 characters follow that position.
    static bool isShortName(const std::string &fileName);

    /// The first candidate for a new project file named after `templatePath` in `directory`
    /// that does not exist. Throws IAccessError("Could not find an available name.") after
    /// printing the console line when all 702 short-name candidates exist.
    std::string freeTemplateName(const std::string &templatePath, const std::string &directory);

    /// `text` with every backslash doubled; the project file's directory values are written so.
    /// Native "/" paths hold none, so they come back unchanged.
    static std::string doubledBackslashes(const std::string &text);

private:
    /// Where the new project goes: with PRJDIR set, that directory (the template's own with a
    /// template); else the output directory, after telling the user.
    std::string projectDirectory(const std::string &templatePath,
                                 const std::string &outputDirectory);
    void writeProjectFile(const std::string &projectPath, const std::string &text);
    void writeFromTemplate(const std::string &templatePath,
                           const std::string &projectPath,
                           const std::string &title,
                           const std::string &directoryValue);
    void writeFixed(const std::string &projectPath,
                    const std::string &title,
                    const std::string &directoryValue);
    /// Copies the options template (the template project's ".iwo", else CONFIG_PATH's
    /// "telamrdv.iwo") to `optionsPath`; `optionsMade` tells whether a new file was made.
    void copyOptionsTemplate(const std::string &templatePath,
                             const std::string &optionsPath,
                             bool &optionsMade);
    [[noreturn]] void projectError(const std::string &title, const std::string &outputDirectory);

    EnvironmentReader m_environment;
    ConversionObserver &m_observer;
    std::ostream &m_console;
};
