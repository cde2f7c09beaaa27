#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The views kelhost can open at start (`--open KIND:UNIT[:LINE]`): the desktop's view kinds,
/// the three list views, the structure tree and the notebooks.
enum class HostViewKind {
    browser,         ///< 'b': the source browser (592)
    symbolsUsed,     ///< 's': the data items of the unit (595)
    relatedPrograms, ///< 'p': CALL targets and callers (595)
    relatedMembers,  ///< 'r': the copybooks and where each is included (595)
    dataMap,         ///< 'm': the data map (596)
    tree,            ///< 't': the structure tree
    grapher,         ///< 'g': the control-flow grapher (593)
    details,         ///< the details notebook of the data item declared or named on LINE
    settings,        ///< the program unit settings notebook
    properties,      ///< the program unit property window
    preferences      ///< the preferences notebook
};

/// One `--open` request.
struct HostOpenRequest
{
    HostViewKind kind = HostViewKind::browser;
    /// The program unit's name or source path; empty for the execution unit as a whole.
    std::string unit;
    /// A line of the unit's expanded source (1-based); 0 when none was given.
    std::uint32_t line = 0;
};

/// The command line of kelhost, parsed without touching any file:
///
///     kelhost [--open KIND:UNIT[:LINE]]... [--copybook NAME]... [--grab DIR] DATABASE
///     kelhost --analyze [--dialect D] [-I DIR]... [--open ...]... [--grab DIR] SOURCE...
///
/// DATABASE is an analysis database or a directory holding one (a conversion's output
/// directory). KIND is one letter or word (kindNames()); UNIT a program unit's name or source
/// path, empty or "*" for the execution unit as a whole; LINE a line of the expanded source.
struct HostOptions
{
    /// Exit statuses of kelhost.
    enum ExitStatus : int { success = 0, cannotOpen = 1, usageError = 64 };

    std::string database;
    bool analyze = false;
    std::string dialect;
    std::vector<std::string> includeDirectories;
    std::vector<std::string> sources;
    std::vector<HostOpenRequest> opens;
    /// Copybooks whose storage map opens at start (`--copybook NAME`).
    std::vector<std::string> copybooks;
    std::string grabDirectory;
    bool help = false;

    /// Parses the arguments after the program name. False with `error` set (one line naming
    /// the argument, what was expected and what was found) when they are not usable.
    bool parse(const std::vector<std::string> &arguments, std::string &error);

    /// Parses one `KIND:UNIT[:LINE]`; false with `error` set.
    static bool parseOpen(const std::string &text, HostOpenRequest &request, std::string &error);
    /// The KIND words `--open` accepts, for messages and the help text.
    static std::string kindNames();
    /// The short name of a kind in file names and messages ("browser", "symbols" ...).
    static std::string kindName(HostViewKind kind);

    /// The text of `kelhost --help`.
    static std::string usage();
};
