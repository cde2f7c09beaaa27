#pragma once

#include "ProgramModel.h"

namespace cobol {
class AdtFile;
class AnalysisData;
} // namespace cobol

namespace kelmkpu {

/// Translates the front end's analysis data into the analyser's model:
///
/// - each storage block (the records that share bytes) becomes a storage area; items keep their
///   ids (item id n is model item n-1); OCCURS entries become the area's occurrence ranges;
/// - files are the includes' files (include id n is file n, the program source is file 0);
/// - statements become facts: MOVE, READ INTO and WRITE FROM flow from the sender to every
///   receiver; relational conditions compare; ADD, SUBTRACT and COMPUTE become sums (the
///   receiver of ADD/SUBTRACT without GIVING is also a term of its own sum, as in ADD A TO B);
///   MULTIPLY, DIVIDE and
///   non-linear COMPUTEs give non-linear terms; ACCEPT FROM DATE/DAY marks the year; subscripts,
///   PERFORM VARYING and TIMES counters and OCCURS DEPENDING ON objects are non-year uses;
///   FUNCTION CURRENT-DATE (its first four characters) and the argument of INTEGER-OF-DATE or
///   INTEGER-OF-DAY are years; MOVE CORRESPONDING pairs subordinate items by name.
class AnalysisDataAdapter final
{
public:
    /// The model of `data`. Never fails: references the front end could not resolve are left out.
    static ProgramModel toModel(const cobol::AnalysisData &data);
    /// The same, reading the statements one by one from the file. Throws IAccessError when a
    /// statement of the file is malformed (AdtFile::forEachStatement).
    static ProgramModel toModel(const cobol::AdtFile &file);
};

} // namespace kelmkpu
