#pragma once

#include "DataDescriptions.h"
#include "FindingsFile.h"

#include <map>
#include <string>
#include <vector>

namespace vyquext {

/// How an item holds a year, as far as windowing cares.
enum class DateShape {
    TwoDigitYear,  ///< YY: the whole item
    YearFirstDate, ///< YYMMDD or YYDDD: the year leads, `digitsAfterYear` follow
    FullYear,      ///< YYYY (or CCYYMMDD...): needs no windowing
    Group,         ///< a group holding a date: its elementary items carry the conversion
    Unsupported,   ///< a year the tool cannot window; `reason` says why
    Conflict       ///< year and non-year uses meet in the item
};

struct DateField
{
    std::string name;
    DateShape shape = DateShape::Unsupported;
    int digitsAfterYear = 0; ///< YYMMDD: 4, YYDDD: 3
    bool alphanumeric = false;
    bool inCopybook = false;
    std::string file;
    std::size_t line = 0;
    std::string reason;
    /// A packed 0CYYDDD date (EIBDATE's form): its century digit keeps it in order across 2000,
    /// so the field itself needs nothing; only a two-digit year taken out of it does.
    bool centuryDate = false;
};

/// The date fields of one program: the analyser's findings joined with the data descriptions,
/// by item name.
class DateFieldTable final
{
public:
    /// Builds the table. `sourcePath` tells program text from copybook text.
    void build(const FindingsFile &findings,
               const DataDescriptions &data,
               const std::string &sourcePath);

    /// The field named `name` (upper case), or nullptr when it is no date field.
    const DateField *find(const std::string &name) const;

    const std::map<std::string, DateField> &fields() const { return m_fields; }

private:
    std::map<std::string, DateField> m_fields;
};

} // namespace vyquext
