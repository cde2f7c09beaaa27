#pragma once

#include "ConversionLog.h"
#include "ConversionOptions.h"
#include "DateFieldTable.h"

#include <iosfwd>
#include <string>

namespace vyquext {

/// The conversion report ("<base>.crs"): what was read, the date fields, every change with its
/// line and old and new text, everything left for a person with the reason, and the result.
class ConversionReport final
{
public:
    std::string sourcePath;
    const ConversionOptions *options = nullptr; ///< null when the options could not be read
    std::string format;                         ///< "fixed" or "free"; empty when unknown
    const DateFieldTable *fields = nullptr;
    const ConversionLog *log = nullptr;
    int returnCode = 0;
    std::string failure; ///< the error that stopped the conversion

    void write(std::ostream &out) const;
    /// Writes the report to `path`; false when it cannot be written.
    bool writeFile(const std::string &path) const;

    static std::string describe(const DateField &field);
};

} // namespace vyquext
