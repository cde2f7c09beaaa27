#pragma once

#include "ChildProcess.h"

#include <string>
#include <vector>

namespace cobol {
class AnalysisData;
}

/// Checks a program with `cobc -fsyntax-only`. A program with EXEC blocks (or DFHRESP, or the
/// implicit CICS and DL/I blocks) is first translated, with the copybooks that hold such text,
/// into a temporary directory (ExecTranslator); cobc checks that copy, and its messages are told
/// with the user's files and lines. The temporary directory is removed afterwards.
class SyntaxChecker final
{
public:
    struct Options
    {
        std::string source;
        std::string dialect = "ibm";
        bool freeFormat = false;
        std::vector<std::string> includeDirectories; ///< -i directories, in order
        std::vector<std::string> cobcpyDirectories;  ///< from $COBCPY
        std::string systemDirectory;                 ///< the installation's system members
    };

    /// `data`: the front end's reading of the same program. `problem` is set when the
    /// translation could not be written (the result is then NotStarted). `started`, when given,
    /// is the check of the source as it stands (`plainCheck`), started before the front end
    /// read the program: its result is taken when nothing needs translating, else it is
    /// stopped.
    static ChildProcess::Result run(const Options &options,
                                    const cobol::AnalysisData &data,
                                    std::string &problem,
                                    std::unique_ptr<ChildProcess::Running> started = nullptr);

    /// Whether the front end's reading `data` of a program asks for a translation before the
    /// check (`run` then checks a translated copy, not the source as it stands).
    static bool needsTranslation(const cobol::AnalysisData &data);

    /// The cobc command that checks the source as it stands (no EXEC block translated).
    static std::vector<std::string> plainCheck(const Options &options);

    /// Whether the source text itself has none of the words that ask for a translation (EXEC,
    /// DFHRESP, DFHVALUE, in any letter case): the plain check can then start before the front
    /// end has read the program. (A copybook can still hold them: the front end's reading
    /// decides.)
    static bool mayNeedNoTranslation(std::string_view source);
};
