#pragma once

#include "DbUnitData.h"

#include <vector>

namespace cobol {
class AnalysisData;
}

namespace kelmkpu {

struct AnalysisResult;

/// The entries of each copybook a program includes, laid out on their own (the front end's
/// canonical coordinates), as the first include of each (copybook, qualifier) shows them, with
/// the date fields the program's analysis found on them. An include whose layout differs from
/// the copybook's own (SYNC slack, REPLACING inside a PICTURE, OCCURS or USAGE clause) has its
/// entries marked `varies`; entries of nested copybooks belong to those copybooks.
class CopybookLayoutRecorder final
{
public:
    static std::vector<DbCopybookItemRecord> build(const cobol::AnalysisData &data,
                                                   const AnalysisResult &result);
};

} // namespace kelmkpu
