#include "ConversionReport.h"

#include <fstream>
#include <ostream>

namespace vyquext {

namespace {

std::string place(const Remark &remark)
{
    std::string text = remark.file.empty() ? "" : remark.file + ":";
    if (remark.line != 0)
        text += (remark.file.empty() ? "line " : "") + std::to_string(remark.line);
    return text.empty() ? "-" : text;
}

const char *resultText(int code)
{
    if (code == 0)
        return "converted without remarks";
    if (code <= 8)
        return "converted with remarks";
    return "failed";
}

} // namespace

std::string ConversionReport::describe(const DateField &field)
{
    switch (field.shape) {
    case DateShape::TwoDigitYear:
        return field.alphanumeric ? "two-digit year (alphanumeric)" : "two-digit year";
    case DateShape::YearFirstDate:
        return field.digitsAfterYear == 4 ? "YYMMDD date" : "YYDDD date";
    case DateShape::FullYear:
        return "four-digit year: needs no windowing";
    case DateShape::Group:
        return "group item: converted through its elementary items where they are used";
    case DateShape::Unsupported:
        return (field.centuryDate ? "century-flagged date: " : "left for a person: ")
               + field.reason;
    case DateShape::Conflict:
        return "conflict: " + field.reason;
    }
    return {};
}

void ConversionReport::write(std::ostream &out) const
{
    out << "Chronex conversion report (vyquext)\n";
    out << "Source:          " << sourcePath << "\n";
    if (options) {
        out << "Converted file:  " << options->cvtPath << "\n";
        out << "Findings:        " << options->xcaPath << "\n";
        out << "Options:         " << options->origin << "\n";
        const int pivot = options->pivot;
        out << "Pivot:           " << pivot << " (two-digit years " << pivot << "-99 are "
            << 1900 + pivot << "-1999, 00-" << (pivot > 10 ? "" : "0") << pivot - 1 << " are 2000-"
            << 2000 + pivot - 1 << ")\n";
    }
    if (!format.empty())
        out << "Format:          " << format << "\n";
    out << "Strategy:        windowing by expression; no PICTURE is changed and no copybook is "
           "rewritten\n";

    if (fields) {
        out << "\nDate fields (" << fields->fields().size() << ")\n";
        for (const auto &[name, field] : fields->fields()) {
            out << "  " << name << ": " << describe(field);
            if (!field.file.empty())
                out << " [" << field.file << ":" << field.line << "]";
            if (field.inCopybook)
                out << " (declared in a copybook: the copybook is not changed; its uses in this "
                       "program are converted)";
            out << "\n";
        }
    }
    if (log) {
        std::size_t done = 0;
        for (const Change &change : log->changes)
            done += change.undone ? 0 : 1;
        out << "\nChanges (" << done << ")\n";
        for (const Change &change : log->changes) {
            if (change.undone)
                continue;
            out << "  line " << change.line << ": " << change.what << "\n";
            out << "    old: " << change.oldText << "\n";
            out << "    new: " << change.newText << "\n";
        }
        std::size_t left = 0;
        for (const Remark &remark : log->remarks)
            left += remark.severity == Remark::Severity::Note ? 0 : 1;
        out << "\nLeft for a person (" << left << ")\n";
        for (const Remark &remark : log->remarks)
            if (remark.severity != Remark::Severity::Note)
                out << "  " << place(remark) << ": "
                    << (remark.severity == Remark::Severity::Error ? "error: " : "") << remark.what
                    << ": " << remark.reason << "\n";
        out << "\nNotes (" << log->remarks.size() - left << ")\n";
        for (const Remark &remark : log->remarks)
            if (remark.severity == Remark::Severity::Note)
                out << "  " << place(remark) << ": " << remark.what << ": " << remark.reason
                    << "\n";
    }
    out << "\nResult: " << returnCode << " (" << resultText(returnCode);
    if (!failure.empty())
        out << ": " << failure;
    out << ")\n";
}

bool ConversionReport::writeFile(const std::string &path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    write(out);
    out.flush();
    return static_cast<bool>(out);
}

} // namespace vyquext
