#include "CopybookLayoutRecorder.h"

#include "AnalysisData.h"
#include "AnalysisResult.h"

#include <map>
#include <set>

namespace kelmkpu {

std::vector<DbCopybookItemRecord> CopybookLayoutRecorder::build(const cobol::AnalysisData &data,
                                                                const AnalysisResult &result)
{
    std::map<std::uint32_t, std::string> dates; // item id -> what the analysis found
    for (const FieldFinding &field : result.fields) {
        std::string &text = dates[field.item + 1];
        const std::string bytes = field.length > 1
                                      ? std::to_string(field.first) + "-"
                                            + std::to_string(field.first + field.length - 1)
                                      : std::to_string(field.first);
        text += (text.empty() ? "" : ", ") + std::string(kindName(field.kind)) + " bytes " + bytes;
    }
    // The first include of each (copybook, qualifier) stands for the others.
    std::set<std::pair<std::string, std::string>> seen;
    std::set<std::uint32_t> chosen;
    for (std::size_t i = 1; i < data.includes.size(); ++i) {
        const cobol::Include &include = data.includes[i];
        if (seen.insert({include.copybook, include.qualifier}).second)
            chosen.insert(include.id);
    }
    std::vector<DbCopybookItemRecord> records;
    std::map<std::uint32_t, std::uint32_t> number; // item id -> 1-based among its include's
    std::map<std::uint32_t, std::uint32_t> count;  // include -> entries so far
    for (const cobol::DataItem &item : data.items) {
        if (!item.hasCanonical || !chosen.contains(item.declaredIn) || item.level == 88
            || item.level == 78 || item.declaredIn >= data.includes.size())
            continue;
        const cobol::Include &include = data.includes[item.declaredIn];
        number[item.id] = ++count[item.declaredIn];
        DbCopybookItemRecord r;
        r.copybook = include.copybook;
        r.qualifier = include.qualifier;
        r.level = static_cast<std::uint32_t>(item.level);
        r.name = item.name;
        const auto parent = number.find(item.parent);
        const cobol::DataItem *parentItem = data.item(item.parent);
        r.parent = parent != number.end() && parentItem && parentItem->declaredIn == item.declaredIn
                       ? parent->second
                       : 0;
        const std::uint32_t based = item.redefines ? item.redefines : item.renamesFrom;
        const auto base = number.find(based);
        r.base = base != number.end() ? base->second : 0;
        r.offset = item.canonicalOffset;
        r.length = item.canonicalLength ? item.canonicalLength : item.length;
        r.occursMax = item.occursMax;
        r.usage = std::string(cobol::toString(item.usage));
        r.picture = item.picture;
        r.line = item.place.line;
        r.varies = item.layoutVaries;
        r.synchronized = item.synchronized;
        if (const auto date = dates.find(item.id); date != dates.end())
            r.dateText = date->second;
        records.push_back(std::move(r));
    }
    return records;
}

} // namespace kelmkpu
