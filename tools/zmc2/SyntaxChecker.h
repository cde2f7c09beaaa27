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
    /// translation could not be written (the result is then NotStarted).
    static ChildProcess::Result run(const Options &options,
                                    const cobol::AnalysisData &data,
                                    std::string &problem);
};
