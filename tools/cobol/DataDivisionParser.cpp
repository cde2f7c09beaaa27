#include "DataDivisionParser.h"

#include "Picture.h"
#include "SymbolTable.h"
#include "TokenCursor.h"

#include <unordered_set>

namespace cobol {

using namespace std::string_view_literals;

namespace {

const std::unordered_set<std::string_view> &clauseWords()
{
    static const std::unordered_set<std::string_view> words = {"REDEFINES",
                                                               "PIC",
                                                               "PICTURE",
                                                               "USAGE",
                                                               "SIGN",
                                                               "LEADING",
                                                               "TRAILING",
                                                               "OCCURS",
                                                               "SYNC",
                                                               "SYNCHRONIZED",
                                                               "JUST",
                                                               "JUSTIFIED",
                                                               "BLANK",
                                                               "VALUE",
                                                               "VALUES",
                                                               "RENAMES",
                                                               "EXTERNAL",
                                                               "GLOBAL",
                                                               "INDEXED",
                                                               "ASCENDING",
                                                               "DESCENDING",
                                                               "DEPENDING",
                                                               "BASED",
                                                               "COMP",
                                                               "COMP-1",
                                                               "COMP-2",
                                                               "COMP-3",
                                                               "COMP-4",
                                                               "COMP-5",
                                                               "COMP-X",
                                                               "COMPUTATIONAL",
                                                               "COMPUTATIONAL-1",
                                                               "COMPUTATIONAL-2",
                                                               "COMPUTATIONAL-3",
                                                               "COMPUTATIONAL-4",
                                                               "COMPUTATIONAL-5",
                                                               "COMPUTATIONAL-X",
                                                               "BINARY",
                                                               "PACKED-DECIMAL",
                                                               "DISPLAY",
                                                               "INDEX",
                                                               "POINTER",
                                                               "NATIONAL",
                                                               "CONSTANT",
                                                               "IS",
                                                               "ARE",
                                                               "THRU",
                                                               "THROUGH"};
    return words;
}

bool usageWord(std::string_view word, Usage &usage, bool &compX)
{
    compX = false;
    if (word == "DISPLAY"sv)
        usage = Usage::Display;
    else if (word == "COMP"sv || word == "COMPUTATIONAL"sv || word == "COMP-4"sv
             || word == "COMPUTATIONAL-4"sv || word == "BINARY"sv)
        usage = Usage::Binary;
    else if (word == "COMP-5"sv || word == "COMPUTATIONAL-5"sv)
        usage = Usage::Comp5;
    else if (word == "COMP-X"sv || word == "COMPUTATIONAL-X"sv) {
        usage = Usage::Comp5;
        compX = true;
    } else if (word == "COMP-3"sv || word == "COMPUTATIONAL-3"sv || word == "PACKED-DECIMAL"sv)
        usage = Usage::Packed;
    else if (word == "COMP-1"sv || word == "COMPUTATIONAL-1"sv || word == "FLOAT-SHORT"sv)
        usage = Usage::Comp1;
    else if (word == "COMP-2"sv || word == "COMPUTATIONAL-2"sv || word == "FLOAT-LONG"sv)
        usage = Usage::Comp2;
    else if (word == "POINTER"sv || word == "PROCEDURE-POINTER"sv || word == "PROGRAM-POINTER"sv)
        usage = Usage::Pointer;
    else if (word == "INDEX"sv)
        usage = Usage::Index;
    else if (word == "NATIONAL"sv)
        usage = Usage::National;
    else
        return false;
    return true;
}

bool isLevel(const LexToken &token)
{
    const long long level = tokenInteger(token);
    return (level >= 1 && level <= 49) || level == 66 || level == 77 || level == 78 || level == 88;
}

} // namespace

void DataDivisionParser::diagnose(const SourcePlace &place,
                                  Diagnostic::Severity severity,
                                  std::string message)
{
    m_data.diagnostics.push_back({severity, place, std::move(message)});
}

std::vector<std::string> DataDivisionParser::qualifiedName(TokenCursor &cursor)
{
    std::vector<std::string> name;
    if (!cursor.peek().isWordLike())
        return name;
    name.emplace_back(cursor.next().upper());
    while ((cursor.is("OF") || cursor.is("IN")) && cursor.peek(1).isWordLike()) {
        cursor.next();
        name.emplace_back(cursor.next().upper());
    }
    return name;
}

void DataDivisionParser::parse(TokenCursor &cursor)
{
    std::uint32_t divisionNode = 0;
    for (const ProgramNode &node : m_data.nodes)
        if (node.kind == ProgramNode::Kind::Division)
            divisionNode = node.id;
    while (!cursor.atEnd()) {
        const LexToken &token = cursor.peek();
        if (token.is("PROCEDURE") && cursor.is("DIVISION", 1))
            break;
        if (token.kind == TokenKind::Word && cursor.is("SECTION", 1)) {
            const std::string name(token.upper());
            m_area = name == "FILE"              ? StorageArea::File
                     : name == "WORKING-STORAGE" ? StorageArea::WorkingStorage
                     : name == "LOCAL-STORAGE"   ? StorageArea::LocalStorage
                     : name == "LINKAGE"         ? StorageArea::Linkage
                                                 : StorageArea::Other;
            ProgramNode node;
            node.id = static_cast<std::uint32_t>(m_data.nodes.size() + 1);
            node.kind = ProgramNode::Kind::Section;
            node.name = name;
            node.parent = divisionNode;
            node.place = token.place;
            node.firstToken = static_cast<std::uint32_t>(cursor.position() + 1);
            m_data.nodes.push_back(node);
            m_sectionNode = node.id;
            m_inFd = false;
            m_stack.clear();
            m_record = 0;
            cursor.skipSentence();
            continue;
        }
        if (token.is("FD") || token.is("SD") || token.is("RD") || token.is("CD")) {
            m_inFd = true;
            m_fdStorage = 0;
            m_stack.clear();
            m_record = 0;
            m_fdName = cursor.peek(1).upper();
            cursor.skipSentence();
            continue;
        }
        if (token.is("EXEC")) {
            const ExecBlock block = ExecBlock::find(cursor.tokens(),
                                                    cursor.position(),
                                                    cursor.end());
            m_execBlocks.push_back({cursor.position(),
                                    static_cast<std::uint32_t>(m_data.items.size()),
                                    m_sectionNode ? m_sectionNode : divisionNode});
            cursor.setPosition(block.end);
            if (cursor.isPeriod())
                cursor.next();
            continue;
        }
        if (token.is("COPY") || token.is("REPLACE")) {
            cursor.skipSentence();
            continue;
        }
        if (isLevel(token)) {
            entry(cursor);
            continue;
        }
        diagnose(token.place,
                 Diagnostic::Severity::Error,
                 "Expected a level number or a section header in the data division, found \""
                     + std::string(token.text()) + "\".");
        cursor.skipSentence();
    }
    for (const ImplicitEntries &range : m_implicit) {
        TokenCursor implicit(cursor.tokens(), range.begin, range.end);
        m_area = range.area;
        m_inFd = false;
        m_stack.clear();
        m_record = 0;
        while (!implicit.atEnd()) {
            if (isLevel(implicit.peek())) {
                entry(implicit);
                continue;
            }
            diagnose(implicit.peek().place,
                     Diagnostic::Severity::Error,
                     "Expected a level number, found \"" + std::string(implicit.peek().text())
                         + "\".");
            implicit.skipSentence();
        }
    }
    resolveReferences();
}

void DataDivisionParser::entry(TokenCursor &cursor)
{
    const LexToken &levelToken = cursor.next();
    DataItem item;
    item.id = static_cast<std::uint32_t>(m_data.items.size() + 1);
    item.level = static_cast<int>(tokenInteger(levelToken));
    item.place = levelToken.place;
    item.declaredIn = levelToken.place.include;
    item.area = m_area;
    DataEntryInfo info;

    const LexToken &nameToken = cursor.peek();
    if (nameToken.is("FILLER")) {
        cursor.next();
        item.name = "FILLER";
    } else if (nameToken.kind == TokenKind::Word && !clauseWords().count(nameToken.upper())) {
        item.name = cursor.next().upper();
    } else {
        item.name = "FILLER";
    }

    // Place the entry in the hierarchy.
    if (item.level == 1 || item.level == 77) {
        m_stack.clear();
        m_record = item.id;
        item.record = item.id;
        if (m_inFd && m_area == StorageArea::File) {
            if (m_fdStorage == 0) {
                m_fdStorage = item.id;
                m_fileRecords.emplace(m_fdName, item.id);
            }
            item.storage = m_fdStorage;
        } else {
            item.storage = item.id;
        }
    } else if (item.level == 88) {
        item.parent = m_lastStorageItem;
        item.record = m_lastStorageItem ? m_data.items[m_lastStorageItem - 1].record : 0;
        item.storage = m_lastStorageItem ? m_data.items[m_lastStorageItem - 1].storage : 0;
    } else if (item.level == 66) {
        item.record = m_record;
        item.storage = m_record ? m_data.items[m_record - 1].storage : 0;
    } else if (item.level == 78) {
        // A constant: no storage, no place in the hierarchy.
    } else {
        while (!m_stack.empty() && m_data.items[m_stack.back() - 1].level >= item.level)
            m_stack.pop_back();
        if (m_stack.empty()) {
            if (m_record == 0) {
                diagnose(item.place,
                         Diagnostic::Severity::Error,
                         "Level " + std::to_string(item.level) + " entry " + item.name
                             + " is not inside a level-01 record.");
            }
            item.parent = m_record;
        } else {
            item.parent = m_stack.back();
        }
        if (item.parent) {
            const DataItem &parent = m_data.items[item.parent - 1];
            item.record = parent.record;
            item.storage = parent.storage;
            item.usage = parent.usage; // inherited; an own USAGE clause overrides it
        }
    }

    clauses(cursor, item, info);

    if (item.level == 88) {
        item.category = Category::Condition;
        item.length = 0;
        if (item.parent)
            m_info[item.parent - 1].conditions.push_back(item.id);
    } else if (item.level == 66) {
        item.category = Category::Renames;
    } else if (item.level == 78) {
        item.category = Category::Constant;
    } else {
        if (item.parent)
            m_info[item.parent - 1].children.push_back(item.id);
        if (item.level != 77)
            m_stack.push_back(item.id);
        m_lastStorageItem = item.id;
        if (item.level == 1 && !m_inFd)
            m_stack = {item.id};
    }
    m_data.items.push_back(std::move(item));
    m_info.push_back(std::move(info));
}

void DataDivisionParser::clauses(TokenCursor &cursor, DataItem &item, DataEntryInfo &info)
{
    while (!cursor.atEnd() && !cursor.isPeriod()) {
        const LexToken &token = cursor.peek();
        if (isLevel(token) && token.place.line != cursor.previous().place.line && item.level != 88
            && item.level != 78 && !cursor.previous().is("VALUE") && !cursor.previous().is("TO")
            && !cursor.previous().is("OCCURS")) {
            // A level number at the start of a line: the period of this entry is missing.
            diagnose(token.place,
                     Diagnostic::Severity::Error,
                     "Expected a period before level number " + std::string(token.text()) + ".");
            return;
        }
        const std::string word = token.kind == TokenKind::Literal ? std::string()
                                                                  : std::string(token.upper());
        Usage usage;
        bool compX = false;
        if (word == "IS"sv || word == "ARE"sv) {
            cursor.next();
        } else if (word == "REDEFINES"sv) {
            cursor.next();
            info.redefinesName = qualifiedName(cursor);
        } else if (word == "PIC"sv || word == "PICTURE"sv) {
            cursor.next();
            cursor.accept("IS");
            const LexToken &pic = cursor.next();
            item.picture = pic.upper();
            if (pic.replaced)
                info.sizeFromReplacing = true;
        } else if (word == "USAGE"sv) {
            cursor.next();
            cursor.accept("IS");
            if (usageWord(cursor.peek().upper(), usage, compX)) {
                if (cursor.peek().replaced)
                    info.sizeFromReplacing = true;
                cursor.next();
                item.usage = usage;
                info.usageGiven = true;
                info.compX = compX;
            }
        } else if (usageWord(word, usage, compX)) {
            if (token.replaced)
                info.sizeFromReplacing = true;
            cursor.next();
            item.usage = usage;
            info.usageGiven = true;
            info.compX = compX;
        } else if (word == "SIGN"sv || word == "LEADING"sv || word == "TRAILING"sv) {
            cursor.next();
            cursor.accept("IS");
            cursor.accept("LEADING");
            cursor.accept("TRAILING");
            if (cursor.accept("SEPARATE")) {
                item.signSeparate = true;
                cursor.accept("CHARACTER");
            }
        } else if (word == "OCCURS"sv) {
            cursor.next();
            const LexToken &first = cursor.next();
            if (first.replaced)
                info.sizeFromReplacing = true;
            long long min = tokenInteger(first, 1);
            long long max = min;
            if (cursor.accept("TO")) {
                if (cursor.peek().replaced)
                    info.sizeFromReplacing = true;
                max = tokenInteger(cursor.next(), min);
            }
            if (max < 0 || max > 100000000)
                max = 1;
            if (min < 0 || min > max)
                min = max;
            item.occursMin = static_cast<std::uint32_t>(min);
            item.occursMax = static_cast<std::uint32_t>(max);
            cursor.accept("TIMES");
            while (!cursor.atEnd() && !cursor.isPeriod()) {
                if (cursor.accept("DEPENDING")) {
                    cursor.accept("ON");
                    info.dependingName = qualifiedName(cursor);
                } else if (cursor.is("ASCENDING") || cursor.is("DESCENDING")
                           || cursor.is("INDEXED")) {
                    cursor.next();
                    cursor.accept("KEY");
                    cursor.accept("BY");
                    cursor.accept("IS");
                    while (cursor.peek().kind == TokenKind::Word
                           && !clauseWords().count(cursor.peek().upper()))
                        cursor.next();
                } else {
                    break;
                }
            }
        } else if (word == "SYNC"sv || word == "SYNCHRONIZED"sv) {
            cursor.next();
            item.synchronized = true;
            if (!cursor.accept("LEFT"))
                cursor.accept("RIGHT");
        } else if (word == "JUST"sv || word == "JUSTIFIED"sv) {
            cursor.next();
            cursor.accept("RIGHT");
        } else if (word == "BLANK"sv) {
            cursor.next();
            cursor.accept("WHEN");
            cursor.next();
        } else if (word == "VALUE"sv || word == "VALUES"sv || word == "CONSTANT"sv) {
            cursor.next();
            cursor.accept("IS");
            cursor.accept("ARE");
            cursor.accept("AS");
            std::string text;
            while (!cursor.atEnd() && !cursor.isPeriod()) {
                const LexToken &part = cursor.peek();
                if (part.kind == TokenKind::Word && clauseWords().count(part.upper())
                    && part.upper() != "THRU"sv && part.upper() != "THROUGH"sv
                    && part.upper() != "IS"sv)
                    break;
                if (!text.empty() && !part.glued)
                    text += ' ';
                text += part.text();
                cursor.next();
            }
            item.value = text;
        } else if (word == "RENAMES"sv) {
            cursor.next();
            info.renamesFromName = qualifiedName(cursor);
            if (cursor.accept("THRU") || cursor.accept("THROUGH"))
                info.renamesThruName = qualifiedName(cursor);
        } else if (word == "EXTERNAL"sv || word == "GLOBAL"sv || word == "BASED"sv
                   || word == "TYPEDEF"sv || word == "ANY"sv || word == "LENGTH"sv) {
            cursor.next();
        } else {
            diagnose(token.place,
                     Diagnostic::Severity::Warning,
                     "Skipped \"" + std::string(token.text()) + "\" in the entry for " + item.name
                         + ".");
            cursor.next();
        }
    }
    if (cursor.isPeriod())
        cursor.next();
    else
        diagnose(item.place,
                 Diagnostic::Severity::Error,
                 "The entry for " + item.name + " does not end with a period.");
}

void DataDivisionParser::resolveReferences()
{
    SymbolTable symbols(m_data.items);
    for (std::size_t i = 0; i < m_data.items.size(); ++i) {
        DataItem &item = m_data.items[i];
        DataEntryInfo &info = m_info[i];
        auto lookup = [&](const std::vector<std::string> &name, const char *what) -> std::uint32_t {
            if (name.empty())
                return 0;
            const std::vector<std::string> qualifiers(name.begin() + 1, name.end());
            const std::uint32_t id = symbols.resolve(name.front(), qualifiers);
            if (id == 0)
                diagnose(item.place,
                         Diagnostic::Severity::Error,
                         std::string(what) + " names " + name.front() + ", which is not defined.");
            return id;
        };
        if (!info.redefinesName.empty()) {
            // REDEFINES names the preceding entry of the same level: prefer that one.
            std::uint32_t target = 0;
            for (std::uint32_t id : symbols.named(info.redefinesName.front())) {
                const DataItem &other = m_data.items[id - 1];
                if (id < item.id && other.parent == item.parent && other.level == item.level
                    && other.area == item.area)
                    target = id;
            }
            item.redefines = target ? target : lookup(info.redefinesName, "REDEFINES");
            if (item.level == 1 && item.redefines)
                item.storage = m_data.items[item.redefines - 1].storage;
        }
        item.dependingOn = lookup(info.dependingName, "OCCURS DEPENDING ON");
        if (item.level == 66) {
            item.renamesFrom = lookup(info.renamesFromName, "RENAMES");
            item.renamesThru = lookup(info.renamesThruName, "RENAMES THRU");
        }
    }
    // Children of an 01 REDEFINES inherit the storage block of the record it redefines.
    for (DataItem &item : m_data.items)
        if (item.level != 1 && item.level != 77 && item.record)
            item.storage = m_data.items[item.record - 1].storage;
}

} // namespace cobol
