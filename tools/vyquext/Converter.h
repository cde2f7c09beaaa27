#pragma once

#include "ConversionLog.h"
#include "DataDescriptions.h"
#include "DateFieldTable.h"
#include "FindingsFile.h"
#include "SourceFile.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vyquext {

/// What converting one source gives: the converted text and what was decided.
struct ConversionResult
{
    std::string text;
    DataDescriptions data;
    DateFieldTable fields;
    ConversionLog log;
};

/// One run of the conversion aid: `vyquext /h <source>`.
///
/// Reads the options (ConversionOptions), the source, the findings (".xca") and the data
/// descriptions of the source and its copybooks; windows the date fields' uses; writes the
/// converted source to the options' ".cvt" path (through a temporary file in the same directory,
/// renamed into place) and the report "<source directory>/<base>.crs".
///
/// Return codes: 0 converted without remarks; 4 converted, items left for a person; 8 converted,
/// errors among the remarks (conflicts, fields whose layout is unknown); 12 the options file,
/// the source or the findings cannot be read (or are no regular files); 16 a wrong command line,
/// the converted file or the report cannot be written, or the report would replace the source.
/// A failed run leaves no ".cvt" behind and, where it can, still writes the report.
class Converter final
{
public:
    /// Runs with the program's arguments (without the program name); messages go to `err`.
    static int run(const std::vector<std::string> &arguments, std::ostream &err);

    /// Converts `source` in memory. Copybooks named by COPY statements are looked for in
    /// `copyDirectories` (for their data descriptions only; they are never rewritten).
    static ConversionResult convert(const SourceFile &source,
                                    const FindingsFile &findings,
                                    int pivot,
                                    const std::vector<std::string> &copyDirectories);
};

} // namespace vyquext
