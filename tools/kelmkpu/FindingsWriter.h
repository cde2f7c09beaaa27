#pragma once

#include "AnalysisResult.h"
#include "ProgramModel.h"

#include <iosfwd>
#include <string>

namespace kelmkpu {

/// Writes the findings for the conversion aid (".xca"): one record per line, fields separated by
/// one TAB, the record tag first. README.md describes every record; in short:
///
///     CHRONEX-XCA  1
///     PROGRAM      source  declarations(ON|OFF)  seed-file
///     FIELD        file  line  item  kind  item-bytes  area  area-bytes  copybook  qualifier  copybook-bytes
///     WINDOW       file  line  column  items  explanation
///     CONFLICT     file  line  item  year-witness  non-year-witness
///     STEP         file  line  text                  (the conflict's explanation chain, in order)
///     WARNING      file  line  text
///     NOTE         file  line  text
///     ERROR        text                               (the analysis could not run)
///     SUMMARY      fields  windows  conflicts  warnings  notes
///
/// Byte ranges are "first-last", 1-based. Text fields hold no TAB or line end (they are replaced
/// by blanks). Unknown places are written as an empty file and line 0.
class FindingsWriter final
{
public:
    struct Header
    {
        std::string source;
        bool declarations = true;
        std::string seedFile;
    };

    static void write(std::ostream &out,
                      const Header &header,
                      const ProgramModel &model,
                      const AnalysisResult &result);

    /// The file written when the analysis could not run.
    static void writeError(std::ostream &out, const Header &header, const std::string &error);
};

} // namespace kelmkpu
