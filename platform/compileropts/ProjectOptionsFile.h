#pragma once

#include <string>

/// The compiler options stored with a project.
///
/// A project `NAME.iwp` keeps its options in `NAME.iwo`, a line file in the project file's own
/// form: section lines start with "-", value lines with "+". The options are the text after
/// "+compileOptions=" in the "-CompileInfo" section:
///
///     -CompileInfo
///     +compileOptions=-x -std=ibm %o
class ProjectOptionsFile final
{
public:
    enum class Status {
        Found,          ///< `options` holds the stored text (which may be empty)
        NoOptions,      ///< the options file has no "+compileOptions=" line in "-CompileInfo"
        Unreadable,     ///< the options file does not exist or cannot be read
        BadProjectName, ///< the project name is empty
    };

    struct Result
    {
        Status status = Status::Unreadable;
        std::string options;
        std::string optionsFile;
    };

    /// Reads the options stored with `projectFile` (the ".iwp" path).
    static Result read(const std::string &projectFile);

    /// The options file that belongs to `projectFile`: its extension replaced by ".iwo".
    static std::string optionsFileFor(const std::string &projectFile);
};
