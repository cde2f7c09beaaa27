#include "StartRequestResolver.h"

#include "DbEu.h"
#include "DbPu.h"
#include "KelMsg.h"
#include "KelMsgIds.h"
#include "StartWindowData.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalsIgnoringCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string StartRequestResolver::bareName(const std::string &puName)
{
    const std::size_t slash = puName.find_last_of("/\\");
    std::string name = slash == std::string::npos ? puName : puName.substr(slash + 1);
    // A leading dot is part of a name, not an extension.
    if (const std::size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

DbPu *StartRequestResolver::findUnit(DbEu &eu, const std::string &name)
{
    DbPuEntryTable &table = eu.puEntryTable();
    if (name.empty()) {
        DbPuEntry *first = table.entry(1);
        return first ? first->pu() : nullptr;
    }
    DbPu *sameButCase = nullptr;
    for (DbPuEntryTable::Cursor cursor(table); cursor.isValid(); cursor.setToNext()) {
        const DbPuEntry &entry = cursor.element();
        if (entry.puName() == name)
            return entry.pu();
        if (!sameButCase && equalsIgnoringCase(entry.puName(), name))
            sameButCase = entry.pu();
    }
    return sameButCase;
}

void StartRequestResolver::resolve(StartWindowData &request, DbEu *eu, const char *moduleTag)
{
    if (!request.puName.empty())
        request.puName = bareName(request.puName);
    if (!request.pu && eu) {
        request.pu = findUnit(*eu, request.puName);
        if (!request.pu && !request.puName.empty())
            KelMsg::msg(moduleTag,
                        unitNotFoundLine,
                        KelMsgId::unitNotFound,
                        request.puName,
                        eu->euName());
    }
    if (request.pu && !request.pu->load())
        KelMsg::msg(moduleTag,
                    loadFailureLine,
                    KelMsgId::unitNotLoaded,
                    request.pu->puName(),
                    request.pu->loadError());
}
