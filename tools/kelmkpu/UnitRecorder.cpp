#include "UnitRecorder.h"

#include "AnalysisData.h"
#include "AnalysisResult.h"
#include "DbEu.h"
#include "DbWriter.h"
#include "ExpandedSource.h"
#include "KelMsgException.h"
#include "PathNames.h"
#include "ResultFile.h"
#include "UnitRecordBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace kelmkpu {

std::string UnitRecorder::executionUnitName(const std::string &outputDirectory)
{
    if (const char *title = std::getenv("CHRONEX_TITLE"); title && *title)
        return title;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(outputDirectory, error);
    const std::string name = PathNames::fileName(
        PathNames::withoutTrailingSeparators(error ? outputDirectory : absolute.string()));
    return name.empty() ? std::string("Execution unit") : name;
}

bool UnitRecorder::record(const std::string &outputDirectory,
                          const std::string &base,
                          const cobol::AnalysisData &data,
                          const ProgramModel &model,
                          const AnalysisResult &result,
                          std::ostream &err)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(data.sourcePath, error);
    UnitRecordBuilder::Header header;
    header.sourceFile = error ? data.sourcePath : absolute.lexically_normal().string();
    header.expandedSourceFile = PathNames::join(outputDirectory, base + ".xpd");
    header.analysisWarnings = result.hasWarnings();

    const cobol::ExpandedSource expanded(data);
    for (const std::string &file : expanded.unreadableFiles())
        err << "kelmkpu: warning: the expanded source leaves out " << file
            << ": the file cannot be read\n";
    std::string reason;
    if (!ResultFile::write(header.expandedSourceFile, expanded.text(), reason)) {
        err << "kelmkpu: error: " << reason << "\n";
        return false;
    }
    const DbUnitData unit = UnitRecordBuilder::build(data, expanded, model, result, header);
    try {
        DbWriter::record(DbEu::databasePathIn(outputDirectory),
                         executionUnitName(outputDirectory),
                         unit);
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported here, on standard error
        err << "kelmkpu: error: " << e.text() << "\n";
        return false;
    }
    return true;
}

} // namespace kelmkpu
