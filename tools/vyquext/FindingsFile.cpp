#include "FindingsFile.h"

#include "IException.h"
#include "InputFile.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vyquext {

namespace {

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \r") - first + 1);
}

/// Fields separated by TAB; a line without TAB is split at runs of blanks.
std::vector<std::string> splitFields(const std::string &line)
{
    std::vector<std::string> fields;
    if (line.find('\t') != std::string::npos) {
        std::size_t start = 0;
        while (true) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(trimmed(line.substr(start, tab - start)));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
    } else {
        std::istringstream words(line);
        std::string word;
        while (words >> word)
            fields.push_back(word);
    }
    return fields;
}

bool parseNumber(const std::string &text, std::size_t &value)
{
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return true;
}

} // namespace

bool FindingsFile::parseKind(const std::string &text, FieldKind &kind)
{
    static const char *const names[] = {"ALWAYS-CONFLICT",
                                        "ALWAYS-YEAR",
                                        "ALWAYS-NON-YEAR",
                                        "USED-AS-YEAR",
                                        "USED-AS-NON-YEAR",
                                        "USED-AS-YEAR-AND-NON-YEAR"};
    std::string name = upper(text);
    if (name.size() > 2 && name.front() == '<' && name.back() == '>')
        name = name.substr(1, name.size() - 2);
    if (name == "ALWAYS-YEAR-AND-NON-YEAR")
        name = "ALWAYS-CONFLICT";
    for (int code = 0; code < 6; ++code) {
        if (name == names[code] || name == std::to_string(code)) {
            kind = static_cast<FieldKind>(code);
            return true;
        }
    }
    return false;
}

bool FindingsFile::isYear(FieldKind kind)
{
    return kind == FieldKind::AlwaysYear || kind == FieldKind::UsedAsYear;
}

bool FindingsFile::isConflict(FieldKind kind)
{
    return kind == FieldKind::AlwaysConflict || kind == FieldKind::UsedAsYearAndNonYear;
}

FindingsFile FindingsFile::load(const std::string &path)
{
    return parse(readInputFile(path, "findings file"), path);
}

FindingsFile FindingsFile::parse(const std::string &text, const std::string &fileName)
{
    FindingsFile findings;
    std::istringstream lines(text);
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> fields = splitFields(line);
        if (fields.empty() || fields[0].empty() || fields[0][0] == '#')
            continue;
        const std::string tag = upper(fields[0]);
        auto fail = [&](const std::string &expected, const std::string &found) {
            ITHROW(IAccessError(fileName + ":" + std::to_string(lineNumber) + ": expected "
                                + expected + ", found "
                                + (found.empty() ? "nothing" : "\"" + found + "\"")));
        };
        auto field = [&](std::size_t index) -> std::string {
            return index < fields.size() ? fields[index] : std::string();
        };
        if (tag == "CHRONEX-XCA") {
            if (field(1) != "1")
                fail("format version 1 in CHRONEX-XCA", field(1));
        } else if (tag == "ERROR") {
            ITHROW(IAccessError("The findings file " + fileName
                                + " says the analysis could not run: " + field(1)));
        } else if (tag == "FIELD") {
            FieldFinding finding;
            finding.file = field(1);
            if (!parseNumber(field(2), finding.line))
                fail("a line number in field 3 of FIELD", field(2));
            finding.name = upper(field(3));
            if (finding.name.empty())
                fail("an item name in field 4 of FIELD", field(3));
            if (!parseKind(field(4), finding.kind))
                fail("a date-field kind (0-5 or a kind name) in field 5 of FIELD", field(4));
            const std::string bytes = field(5);
            const std::size_t dash = bytes.find('-');
            std::size_t last = 0;
            if (dash == std::string::npos || !parseNumber(bytes.substr(0, dash), finding.first)
                || !parseNumber(bytes.substr(dash + 1), last) || finding.first == 0
                || last < finding.first)
                fail("the bytes in the item as first-last in field 6 of FIELD", bytes);
            finding.length = last - finding.first + 1;
            finding.copybook = upper(field(8));
            findings.fields.push_back(std::move(finding));
        } else if (tag == "WINDOW") {
            SiteFinding site;
            site.file = field(1);
            if (!parseNumber(field(2), site.line))
                fail("a line number in field 3 of WINDOW", field(2));
            site.subject = upper(field(4));
            site.reason = field(5);
            findings.sites.push_back(std::move(site));
        } else if (tag == "CONFLICT") {
            SiteFinding site;
            site.type = SiteFinding::Type::Conflict;
            site.file = field(1);
            if (!parseNumber(field(2), site.line))
                fail("a line number in field 3 of CONFLICT", field(2));
            site.subject = upper(field(3));
            site.reason = "year: " + field(4) + "; non-year: " + field(5);
            findings.sites.push_back(std::move(site));
        } else if (tag == "STEP" && !findings.sites.empty()
                   && findings.sites.back().type == SiteFinding::Type::Conflict) {
            findings.sites.back().reason += "; " + field(3)
                                            + (field(2).empty() || field(2) == "0"
                                                   ? ""
                                                   : " (line " + field(2) + ")");
        } else {
            ++findings.ignoredLines;
        }
    }
    return findings;
}

} // namespace vyquext
