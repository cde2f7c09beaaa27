#include "ImpactCommand.h"

#include "DbCopybookLayout.h"
#include "DbEu.h"
#include "DbImpact.h"
#include "DbLookup.h"
#include "DbPu.h"
#include "KelMsgException.h"
#include "KeldbProgram.h"
#include "StorageMap.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace {

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

/// "A-B" or "A" as 1-based inclusive bytes; false when it is neither.
bool parseBytes(const std::string &text, std::uint32_t &first, std::uint32_t &last)
{
    const auto number = [](const std::string &digits, std::uint32_t &value) {
        if (digits.empty() || digits.size() > 9
            || !std::all_of(digits.begin(), digits.end(), [](char c) {
                   return c >= '0' && c <= '9';
               }))
            return false;
        value = static_cast<std::uint32_t>(std::stoul(digits));
        return true;
    };
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos)
        return number(text, first) && number(text, last) && first > 0;
    return number(text.substr(0, dash), first) && number(text.substr(dash + 1), last) && first > 0
           && first <= last;
}

std::string placeText(const DbImpact::Place &place)
{
    return place.program + "\t" + place.file + ":" + std::to_string(place.line);
}

void print(const DbImpact &impact, const DbImpact::Result &result, std::ostream &out)
{
    for (const DbImpact::Hit &hit : result.hits) {
        const std::string chain = DbImpact::chainText(hit.chain, impact);
        out << placeText(hit.place) << "\t" << DbImpact::modeText(hit.mode) << "\t"
            << hit.place.text << "\t" << (chain.empty() ? "direct" : chain) << "\n";
    }
    for (const DbImpact::NotFollowed &entry : result.notFollowed) {
        const std::string chain = DbImpact::chainText(entry.chain, impact);
        out << placeText(entry.place) << "\tnot followed\t" << entry.place.text << "\t"
            << entry.reason << (chain.empty() ? "" : " (via " + chain + ")") << "\n";
    }
}

std::unique_ptr<DbImpact> loadImpact(const std::string &database, std::ostream &err)
{
    try {
        std::unique_ptr<DbImpact> impact = DbImpact::load(database);
        for (const std::string &warning : impact->loadWarnings())
            err << "keldb: warning: " << warning << "\n";
        return impact;
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported here
        err << "keldb: " << e.text() << "\n";
    }
    return nullptr;
}

} // namespace

int ImpactCommand::impact(const Request &request, std::ostream &out, std::ostream &err)
{
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    if (!request.copybook.empty() && !parseBytes(request.bytes, first, last)) {
        err << "keldb: --bytes " << request.bytes
            << " is no byte range: expected A-B (1-based, A <= B) or A.\n";
        return KeldbProgram::usageError;
    }
    std::unique_ptr<DbImpact> impact = loadImpact(request.database, err);
    if (!impact)
        return KeldbProgram::unreadable;
    DbImpact::Result result;
    if (!request.copybook.empty()) {
        result = impact->ofCopybook(upper(request.copybook), first, last);
    } else {
        // The item's name is resolved on the loaded unit, as `keldb map` resolves it.
        std::unique_ptr<DbEu> eu;
        try {
            eu = DbEu::open(request.database);
        } catch (const KelMsgException &e) {
            KelMsg::clearPending();
            err << "keldb: " << e.text() << "\n";
            return KeldbProgram::unreadable;
        }
        const std::vector<DbPu *> units = DbLookup::units(*eu, request.unit);
        if (units.size() != 1) {
            err << "keldb: the analysis database " << request.database
                << (units.empty() ? " has no program unit " : " has several program units named ")
                << request.unit << ".\n";
            return KeldbProgram::notFound;
        }
        if (!units.front()->load()) {
            err << "keldb: " << units.front()->loadError() << "\n";
            return KeldbProgram::unreadable;
        }
        const std::vector<const DbSymbol *> items = DbLookup::items(*units.front(), request.item);
        if (items.size() != 1) {
            err << "keldb: the program unit " << units.front()->puName()
                << (items.empty() ? " has no data item " : " has several data items named ")
                << request.item << (items.empty() ? "" : "; qualify the name") << ".\n";
            return KeldbProgram::notFound;
        }
        result = impact->ofItem(eu->puToNumber(units.front()) - 1, items.front()->number());
    }
    if (!result.error.empty()) {
        err << "keldb: " << result.error << ".\n";
        return KeldbProgram::notFound;
    }
    print(*impact, result, out);
    return KeldbProgram::success;
}

int ImpactCommand::copybookMap(const Request &request, std::ostream &out, std::ostream &err)
{
    DbCopybookLayout layout;
    try {
        layout = DbCopybookLayout::load(request.database, upper(request.copybook));
    } catch (const KelMsgException &e) {
        KelMsg::clearPending();
        err << "keldb: " << e.text() << "\n";
        return KeldbProgram::unreadable;
    }
    if (layout.items().empty()) {
        err << "keldb: no program unit of " << request.database << " includes a copybook "
            << upper(request.copybook) << " with data entries.\n";
        return KeldbProgram::notFound;
    }
    DbUnitData data = layout.toUnitData();
    DbEu eu("", "copybook " + layout.copybook(), {data.header});
    std::string error;
    if (!eu.numberToPu(1)->loadData(std::move(data), error)) {
        err << "keldb: the copybook " << layout.copybook() << " cannot be laid out: " << error
            << "\n";
        return KeldbProgram::unreadable;
    }
    const DbPu &pu = *eu.numberToPu(1);
    out << "Copybook " << layout.copybook() << " laid out on its own (as " << layout.shownFrom()
        << " includes it)\n";
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n)
        if (pu.symbol(n)->isRecordStart())
            out << StorageMap(*pu.symbol(n)).text();
    for (const DbCopybookLayout::Item &item : layout.items())
        for (const std::string &finding : item.dateFindings)
            out << "date field " << item.record.name << " (bytes " << item.record.offset + 1 << "-"
                << item.record.offset + item.record.length << "): " << finding << "\n";
    for (const std::string &note : layout.notes())
        out << "note: " << note << "\n";
    return KeldbProgram::success;
}
