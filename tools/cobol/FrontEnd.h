#pragma once

#include "AnalysisData.h"
#include "Dialect.h"
#include "LexToken.h"

#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// The COBOL front end: reads a program, expands its copybooks, lays out its data and collects
/// the facts of its procedure division into an AnalysisData.
///
/// EXEC CICS, EXEC SQL and EXEC DLI blocks become statements of kind Exec. A program with EXEC
/// CICS gets the execute interface block DFHEIBLK and, unless it declares one, the commarea
/// DFHCOMMAREA in its linkage section, as the CICS translator adds them; a program with EXEC DLI
/// gets the DL/I interface block DLZDIB in its working storage. They are includes marked
/// implicit, read from the first directory that holds the member.
///
/// Problems in the source never throw: they become diagnostics (file, line, column, message) and
/// parsing goes on at the next entry, statement or period. Only a program source that cannot be
/// read throws (IAccessError naming the file).
class FrontEnd final
{
public:
    struct Options
    {
        std::vector<std::string> includeDirectories;
        std::vector<std::string> cobcpyDirectories;
        /// The installation's system members (SQLCA, DFHAID, DFHBMSCA, DFHEIBLK, ...), searched
        /// after every other directory, so that a user's member of the same name wins.
        std::vector<std::string> systemCopybookDirectories;
        SourceFormat format = SourceFormat::Fixed;
        Dialect dialect;
        /// Copy every token into AnalysisData::tokens, with their roles, and record the syntax
        /// structure and the remarks (AnalysisData::structureKnown).
        bool keepTokens = true;
    };

    struct Result
    {
        AnalysisData data;
        /// False when no program could be recognised (no PROGRAM-ID, no division headers): the
        /// data then holds only the diagnostics and whatever was found.
        bool recognised = false;
        std::size_t errorCount = 0;
        /// A limit of the COPY expansion stopped it: the program cannot be analysed as a whole.
        bool expansionLimitReached = false;
    };

    explicit FrontEnd(Options options)
        : m_options(std::move(options))
    {}

    Result parseFile(const std::string &path) const;
    Result parseText(const std::string &path, std::string_view text) const;

    /// Splits a colon-separated search path (as in COBCPY), dropping empty entries.
    static std::vector<std::string> splitSearchPath(std::string_view value);

    /// The installation's directory of system members: `<data directory>/copybooks`.
    static std::string systemCopybookDirectory();

private:
    Options m_options;
};

} // namespace cobol
