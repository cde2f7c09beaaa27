#include "DbCopybookLayout.h"

#include <cstdio>
#include <map>

namespace {

std::string displayText(std::uint64_t byteOffset)
{
    char text[24];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(byteOffset * 8));
    return text;
}

bool sameLayout(const std::vector<DbCopybookItemRecord> &a,
                const std::vector<DbCopybookItemRecord> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].offset != b[i].offset || a[i].length != b[i].length || a[i].level != b[i].level)
            return false;
    return true;
}

bool varies(const std::vector<DbCopybookItemRecord> &items)
{
    for (const DbCopybookItemRecord &item : items)
        if (item.varies)
            return true;
    return false;
}

bool hasReplacing(const std::string &qualifier)
{
    return qualifier.find("+R") != std::string::npos;
}

} // namespace

void DbCopybookLayout::build(
    const std::string &copybook,
    const std::vector<std::pair<std::string, std::vector<DbCopybookItemRecord>>> &units)
{
    m_copybook = copybook;
    m_items.clear();
    m_notes.clear();
    m_shownFrom.clear();
    // The layout shown: the first include that lays the copybook out as on its own, preferring
    // one without REPLACING; any include when every one varies.
    const std::vector<DbCopybookItemRecord> *shown = nullptr;
    for (int pass = 0; pass < 3 && !shown; ++pass)
        for (const auto &[program, items] : units)
            if (!items.empty() && (pass == 2 || !varies(items))
                && (pass >= 1 || !hasReplacing(items.front().qualifier))) {
                shown = &items;
                m_shownFrom = program;
                break;
            }
    if (!shown)
        return;
    for (const DbCopybookItemRecord &record : *shown)
        m_items.push_back({record, {}});
    std::map<std::pair<std::size_t, std::string>, std::vector<std::string>> found;
    for (const auto &[program, items] : units) {
        if (items.empty())
            continue;
        const std::string &qualifier = items.front().qualifier;
        const bool same = sameLayout(items, *shown);
        if (varies(items))
            m_notes.push_back(program + " (" + qualifier + ") lays it out differently: "
                              + (hasReplacing(qualifier)
                                     ? "its REPLACING changes a PICTURE, OCCURS or USAGE clause"
                                     : "SYNC items align otherwise where it is included"));
        else if (!same)
            m_notes.push_back(program + " (" + qualifier
                              + ") lays it out differently: its REPLACING changes the entries");
        // Date findings go to the entries they belong to wherever the entries line up.
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].dateText.empty())
                continue;
            for (std::size_t at = 0; at < m_items.size(); ++at) {
                const DbCopybookItemRecord &r = m_items[at].record;
                if (r.offset == items[i].offset && r.level == items[i].level
                    && (same || r.name == items[i].name) && r.length == items[i].length) {
                    auto &programs = found[{at, items[i].dateText}];
                    if (programs.empty() || programs.back() != program)
                        programs.push_back(program);
                    break;
                }
            }
        }
    }
    // One finding per entry and text, with the units that found it.
    for (const auto &[key, programs] : found) {
        std::string names;
        for (const std::string &program : programs)
            names += (names.empty() ? "" : ", ") + program;
        m_items[key.first].dateFindings.push_back(key.second + " (" + names + ")");
    }
}

DbUnitData DbCopybookLayout::toUnitData() const
{
    DbUnitData u;
    u.header.name = m_copybook;
    u.header.sourceFile = "copybook " + m_copybook;
    u.header.dialect = "ibm";
    u.inputFiles = {{m_copybook, DbInputFileRecord::copybookFile, m_copybook}};
    u.includes = {{0, 1, 0, 0, m_copybook, "DEFAULT"}};
    u.nodes.push_back({0, m_copybook, 0, 0, 0, 0, 1});
    u.treeRecords.push_back({0, m_copybook, 0, 1});
    const bool wrapped = !m_items.empty() && m_items.front().record.level != 1;
    std::uint64_t end = 0;
    for (const Item &item : m_items)
        end = std::max(end,
                       item.record.offset
                           + item.record.length
                                 * std::max<std::uint32_t>(1, item.record.occursMax));
    // Each entry: a line "LL NAME PIC ...", its level and name tokens, a data-entry node.
    const auto addEntry = [&](std::uint32_t level,
                              const std::string &name,
                              const std::string &picture,
                              std::uint32_t parent,
                              std::uint32_t sourceLine) {
        const auto symbol = static_cast<std::uint32_t>(u.symbols.size() + 1);
        const auto line = static_cast<std::uint32_t>(u.lines.size() + 1);
        const std::string levelText = (level < 10 ? "0" : "") + std::to_string(level);
        std::string text = std::string(level == 1 ? 7 : 11, ' ') + levelText + " " + name;
        if (!picture.empty())
            text += " PIC " + picture;
        text += ".";
        u.lines.push_back({0, sourceLine, DbLineRecord::code, text});
        const std::uint32_t node = static_cast<std::uint32_t>(u.nodes.size() + 1);
        const std::uint32_t parentNode = parent ? u.symbols[parent - 1].declaringToken : 0;
        const auto token = static_cast<std::uint32_t>(u.tokens.size() + 1);
        const std::size_t levelColumn = text.find(levelText) + 1;
        DbTokenRecord lt;
        lt.type = 6;
        lt.line = sourceLine;
        lt.expandedLine = line;
        lt.column = static_cast<std::uint32_t>(levelColumn);
        lt.length = static_cast<std::uint32_t>(levelText.size());
        lt.symbol = symbol;
        lt.node = node;
        lt.text = levelText;
        DbTokenRecord nt = lt;
        nt.type = 1;
        nt.column = static_cast<std::uint32_t>(levelColumn + levelText.size() + 1);
        nt.length = static_cast<std::uint32_t>(name.size());
        nt.text = name;
        u.tokens.push_back(lt);
        u.tokens.push_back(nt);
        u.nodes.push_back(
            {6, name, parentNode ? u.tokens[parentNode - 1].node : 1, token, token + 1, symbol, 0});
        DbSymbolRecord s;
        s.level = level;
        s.name = name;
        s.longName = name;
        s.declaringToken = token + 1;
        s.parent = parent;
        u.symbols.push_back(std::move(s));
        return symbol;
    };
    if (wrapped) {
        addEntry(1, m_copybook, "", 0, 0);
        DbSymbolRecord &s = u.symbols.back();
        s.group = true;
        s.recordStart = true;
        s.record = 1;
        s.length = end;
        s.displayText = displayText(0);
        s.usage = "DISPLAY";
        s.category = "GROUP";
        s.area = "WORKING-STORAGE";
    }
    const std::uint32_t first = wrapped ? 1 : 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const DbCopybookItemRecord &r = m_items[i].record;
        const std::uint32_t parent = r.parent ? r.parent + first : (wrapped ? 1 : 0);
        const std::uint32_t symbol = addEntry(r.level, r.name, r.picture, parent, r.line);
        DbSymbolRecord &s = u.symbols.back();
        s.base = r.base ? r.base + first : 0;
        s.related[0] = s.base;
        s.occursMin = r.occursMax;
        s.occursMax = r.occursMax;
        s.usage = r.usage;
        s.picture = r.picture;
        s.category = r.picture.empty()                                      ? "GROUP"
                     : r.picture.find_first_of("XxAa") == std::string::npos ? "NUMERIC"
                                                                            : "ALPHANUMERIC";
        s.group = r.picture.empty() && r.level != 66;
        s.area = "WORKING-STORAGE";
        s.synchronized = r.synchronized;
        s.line = r.line;
        s.length = r.length;
        s.recordStart = r.level == 1 || r.level == 77;
        // Offsets count from the entry's level-01 record, as in a program.
        std::uint32_t record = symbol;
        while (u.symbols[record - 1].parent && !u.symbols[record - 1].recordStart)
            record = u.symbols[record - 1].parent;
        s.record = record;
        const std::uint64_t start = record == symbol ? r.offset
                                    : record > first ? m_items[record - first - 1].record.offset
                                                     : 0;
        s.offset = r.offset - start;
        s.displayText = displayText(s.offset);
        if (!m_items[i].dateFindings.empty()) {
            std::string text;
            for (const std::string &finding : m_items[i].dateFindings)
                text += (text.empty() ? "" : "; ") + finding;
            u.marks.push_back({0, s.declaringToken, symbol, text});
        }
    }
    for (std::uint32_t s = 1; s <= u.symbols.size(); ++s)
        if (u.symbols[s - 1].recordStart) {
            u.treeRecords.push_back({3,
                                     "01 " + u.symbols[s - 1].name,
                                     1,
                                     u.tokens[u.symbols[s - 1].declaringToken - 1].node});
            u.nodes[u.tokens[u.symbols[s - 1].declaringToken - 1].node - 1].treeRecord
                = static_cast<std::uint32_t>(u.treeRecords.size());
        }
    u.nodes[0].firstToken = u.tokens.empty() ? 0 : 1;
    u.nodes[0].lastToken = static_cast<std::uint32_t>(u.tokens.size());
    return u;
}
