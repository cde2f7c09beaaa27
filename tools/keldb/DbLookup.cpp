#include "DbLookup.h"

#include "DbEu.h"
#include "DbPu.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

namespace {

std::string upperCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string normalPath(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

std::vector<DbPu *> DbLookup::units(DbEu &eu, const std::string &spec)
{
    std::vector<DbPu *> found;
    const std::string digits = spec.starts_with("#") ? spec.substr(1) : spec;
    if (!digits.empty() && digits.size() < 10
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (DbPu *pu = eu.numberToPu(static_cast<std::uint32_t>(std::stoul(digits))))
            found.push_back(pu);
        if (!found.empty() || spec.starts_with("#"))
            return found;
    }
    const std::string path = normalPath(spec);
    for (DbPuEntryTable::Cursor cursor(eu.puEntryTable()); cursor.isValid(); cursor.setToNext()) {
        DbPu *pu = cursor.element().pu();
        if (pu->sourceFileName() == spec || pu->sourceFileName() == path)
            return {pu};
    }
    const std::string name = upperCase(spec);
    for (DbPuEntryTable::Cursor cursor(eu.puEntryTable()); cursor.isValid(); cursor.setToNext())
        if (upperCase(cursor.element().puName()) == name)
            found.push_back(cursor.element().pu());
    return found;
}

std::string DbLookup::copybookOf(const DbSymbol &symbol)
{
    const std::vector<DbIncludeRecord> &includes = symbol.pPu()->includes();
    return symbol.include() > 0 && symbol.include() < includes.size()
               ? includes[symbol.include()].copybook
               : std::string();
}

std::vector<const DbSymbol *> DbLookup::items(const DbPu &pu,
                                              const std::string &name,
                                              const std::string &copybook)
{
    std::vector<std::string> words;
    std::istringstream in(upperCase(name));
    for (std::string word; in >> word;)
        words.push_back(word);
    std::vector<const DbSymbol *> found;
    if (words.empty())
        return found;
    // Each qualifier follows OF or IN: "A OF B IN C". Any other shape names nothing.
    std::vector<std::string> qualifiers;
    if (words.size() % 2 == 0)
        return found;
    for (std::size_t i = 1; i + 1 < words.size(); i += 2) {
        if (words[i] != "OF" && words[i] != "IN")
            return found;
        qualifiers.push_back(words[i + 1]);
    }
    const std::string wanted = upperCase(copybook);
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n) {
        const DbSymbol *symbol = pu.symbol(n);
        if (symbol->name() != words.front() || symbol->level() == 88 || symbol->level() == 78)
            continue;
        std::size_t q = 0;
        for (const DbSymbol *up = symbol->parent(); up && q < qualifiers.size(); up = up->parent())
            if (up->name() == qualifiers[q])
                ++q;
        if (q != qualifiers.size())
            continue;
        if (!wanted.empty() && upperCase(copybookOf(*symbol)) != wanted)
            continue;
        found.push_back(symbol);
    }
    return found;
}
