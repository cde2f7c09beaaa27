#include "DateFieldTable.h"

#include "PathNames.h"

namespace vyquext {

namespace {

struct Layout
{
    bool known = false;
    int digits = 0;
    int size = 0;
    bool display = true;
    bool alphanumeric = false;
    bool numeric = false;
    bool group = false; ///< declared, but without a picture
    bool packed = false;
};

Layout layoutOf(const FieldFinding &finding, const DataDescriptions &data)
{
    Layout layout;
    for (const DataEntry *entry : data.find(finding.name)) {
        if (entry->picture.empty()) {
            layout.group = entry->level < 50;
            continue;
        }
        layout.known = true;
        layout.digits = entry->digits;
        layout.size = entry->size;
        layout.display = entry->usage == "DISPLAY";
        layout.packed = entry->usage == "COMP-3" || entry->usage == "COMPUTATIONAL-3"
                        || entry->usage == "PACKED-DECIMAL";
        layout.alphanumeric = entry->alphanumeric;
        layout.numeric = entry->numeric;
        break;
    }
    return layout;
}

DateField shapeOf(const FieldFinding &finding, const DataDescriptions &data)
{
    DateField field;
    field.name = finding.name;
    field.file = finding.file;
    field.line = finding.line;
    if (FindingsFile::isConflict(finding.kind)) {
        field.shape = DateShape::Conflict;
        field.reason = "year and non-year uses meet in this item";
        return field;
    }
    const Layout layout = layoutOf(finding, data);
    if (!layout.known && layout.group) {
        field.shape = DateShape::Group;
        field.reason = "a group item, compared and moved as text";
        return field;
    }
    if (!layout.known) {
        field.reason = "its layout is unknown: no picture for it in the source or its copybooks";
        return field;
    }
    if (!layout.numeric && !layout.alphanumeric) {
        field.reason = "it is edited or of a usage that holds no plain digits";
        return field;
    }
    field.alphanumeric = layout.alphanumeric;
    if (!layout.display) {
        // The analyser counts storage bytes: a packed or binary year is the whole item.
        if (finding.first == 1 && layout.digits == 2) {
            field.shape = DateShape::TwoDigitYear;
        } else if (finding.first == 1 && layout.digits == 4) {
            field.shape = DateShape::FullYear;
        } else if (finding.first == 2 && finding.length == 1 && layout.digits == 7
                   && layout.packed) {
            field.centuryDate = true;
            field.reason = "a 0CYYDDD date: its century digit (0 = 19xx, 1 = 20xx) keeps it in "
                           "order across 2000; a two-digit year taken out of it needs a window";
        } else {
            field.reason = "a binary or packed date whose year is not the whole item";
        }
        return field;
    }
    const int size = layout.numeric ? layout.digits : layout.size;
    if (finding.first != 1) {
        field.reason = "the year does not lead the date (bytes " + std::to_string(finding.first)
                       + "-" + std::to_string(finding.first + finding.length - 1)
                       + "), so the date does not order by year";
        return field;
    }
    if (finding.length == 4) {
        field.shape = DateShape::FullYear;
        field.digitsAfterYear = size - 4;
        return field;
    }
    if (finding.length != 2) {
        field.reason = "a year of " + std::to_string(finding.length) + " bytes";
        return field;
    }
    if (size == 2) {
        field.shape = DateShape::TwoDigitYear;
    } else if ((size == 6 || size == 5) && layout.numeric) {
        field.shape = DateShape::YearFirstDate;
        field.digitsAfterYear = size - 2;
    } else {
        field.reason = "a two-digit year leading " + std::to_string(size)
                       + " positions; only YY, YYMMDD and YYDDD numbers are windowed";
    }
    return field;
}

bool sameFile(const std::string &a, const std::string &b)
{
    return a == b || PathNames::fileName(a) == PathNames::fileName(b);
}

} // namespace

void DateFieldTable::build(const FindingsFile &findings,
                           const DataDescriptions &data,
                           const std::string &sourcePath)
{
    for (const FieldFinding &finding : findings.fields) {
        if (!FindingsFile::isYear(finding.kind) && !FindingsFile::isConflict(finding.kind))
            continue;
        DateField field = shapeOf(finding, data);
        field.inCopybook = !finding.copybook.empty()
                           || (!finding.file.empty() && !sameFile(finding.file, sourcePath));
        auto it = m_fields.find(field.name);
        if (it == m_fields.end()) {
            m_fields.emplace(field.name, std::move(field));
            continue;
        }
        DateField &known = it->second;
        if (known.shape == DateShape::Conflict)
            continue;
        if (field.shape == DateShape::Conflict
            || (known.shape != DateShape::Unsupported && field.shape != DateShape::Unsupported
                && (known.shape != field.shape
                    || known.digitsAfterYear != field.digitsAfterYear))) {
            const bool conflict = field.shape == DateShape::Conflict;
            known.shape = conflict ? DateShape::Conflict : DateShape::Unsupported;
            known.reason = conflict ? field.reason
                                    : "items of this name hold the year in different layouts";
        } else if (known.shape != DateShape::Unsupported && field.shape == DateShape::Unsupported) {
            known = std::move(field);
        }
    }
}

const DateField *DateFieldTable::find(const std::string &name) const
{
    auto it = m_fields.find(name);
    return it == m_fields.end() ? nullptr : &it->second;
}

} // namespace vyquext
