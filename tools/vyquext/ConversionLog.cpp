#include "ConversionLog.h"

namespace vyquext {

void ConversionLog::addChange(Change change, std::vector<Edit> changeEdits)
{
    for (Edit &edit : changeEdits) {
        edit.change = changes.size();
        edits.push_back(std::move(edit));
    }
    changes.push_back(std::move(change));
}

void ConversionLog::addRemark(Remark::Severity severity,
                              std::size_t line,
                              std::string what,
                              std::string reason,
                              std::string file)
{
    remarks.push_back({severity, std::move(file), line, std::move(what), std::move(reason)});
}

bool ConversionLog::mentionsLine(std::size_t line) const
{
    for (const Change &change : changes)
        if (change.line == line)
            return true;
    for (const Remark &remark : remarks)
        if (remark.line == line && remark.file.empty())
            return true;
    return false;
}

int ConversionLog::returnCode() const
{
    int code = 0;
    for (const Remark &remark : remarks) {
        switch (remark.severity) {
        case Remark::Severity::Note:
            break;
        case Remark::Severity::Warning:
            code = code < 4 ? 4 : code;
            break;
        case Remark::Severity::Error:
            code = 8;
            break;
        }
    }
    return code;
}

} // namespace vyquext
