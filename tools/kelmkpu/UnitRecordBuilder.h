#pragma once

#include "DbUnitData.h"

#include <string>

namespace cobol {
class AnalysisData;
class ExpandedSource;
} // namespace cobol

namespace kelmkpu {

struct AnalysisResult;
struct ProgramModel;

/// Turns one analysed program into the records of its program unit in the analysis database:
/// the header, the input files and includes, the expanded source, the tokens (the parser's,
/// with the comments, directive lines and COPY statement words of the expanded source among
/// them), the syntax nodes, the symbols, the structure-tree records and the marks of the
/// date-field analysis.
///
/// Numbering: symbols keep the front end's item ids (symbol n is item n) and syntax nodes are
/// numbered as cobol::SyntaxTree numbers them; tokens are renumbered 1..N in expanded-source
/// order, so the comments and COPY words between two parser tokens get the numbers between.
class UnitRecordBuilder final
{
public:
    struct Header
    {
        std::string sourceFile;         ///< absolute path: the unit's identity
        std::string expandedSourceFile; ///< where the expanded source is written
        bool analysisWarnings = false;  ///< the date-field analysis reported warnings
    };

    static DbUnitData build(const cobol::AnalysisData &data,
                            const cobol::ExpandedSource &expanded,
                            const ProgramModel &model,
                            const AnalysisResult &result,
                            const Header &header);
};

} // namespace kelmkpu
