#include "DataDescriptions.h"

#include "ExecRegions.h"

#include <cctype>
#include <set>

namespace vyquext {

namespace {

bool isLevel(const Token &token, int &level)
{
    if (token.kind != TokenKind::Number || token.text.size() > 2)
        return false;
    for (char c : token.text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    level = std::stoi(token.text);
    return (level >= 1 && level <= 49) || level == 66 || level == 77 || level == 78 || level == 88;
}

const std::set<std::string> &usageWords()
{
    static const std::set<std::string> words = {"BINARY",          "COMP",
                                                "COMP-1",          "COMP-2",
                                                "COMP-3",          "COMP-4",
                                                "COMP-5",          "COMP-X",
                                                "COMPUTATIONAL",   "COMPUTATIONAL-1",
                                                "COMPUTATIONAL-2", "COMPUTATIONAL-3",
                                                "COMPUTATIONAL-4", "COMPUTATIONAL-5",
                                                "COMPUTATIONAL-X", "PACKED-DECIMAL",
                                                "DISPLAY",         "INDEX",
                                                "POINTER",         "NATIONAL"};
    return words;
}

/// One REPLACING operand from `index`: pseudo-text between "==" delimiters or one token.
/// Returns its words; `index` moves past it.
std::vector<std::string> replacingOperand(const std::vector<Token> &tokens, std::size_t &index)
{
    std::vector<std::string> words;
    if (index >= tokens.size())
        return words;
    if (tokens[index].text != "==") {
        words.push_back(tokens[index++].text);
        return words;
    }
    ++index;
    while (index < tokens.size() && tokens[index].text != "==" && tokens[index].text != ".")
        words.push_back(tokens[index++].text);
    if (index < tokens.size() && tokens[index].text == "==")
        ++index;
    return words;
}

std::string upperText(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void readReplacing(const std::vector<Token> &tokens, std::size_t index, CopyStatement &copy)
{
    while (index < tokens.size() && tokens[index].text != ".") {
        Replacement replacement;
        if (tokens[index].is("LEADING")) {
            replacement.mode = Replacement::Mode::Leading;
            ++index;
        } else if (tokens[index].is("TRAILING")) {
            replacement.mode = Replacement::Mode::Trailing;
            ++index;
        }
        const std::vector<std::string> from = replacingOperand(tokens, index);
        if (index >= tokens.size() || !tokens[index].is("BY")) {
            copy.replacingUnsupported = true;
            return;
        }
        ++index;
        const std::vector<std::string> to = replacingOperand(tokens, index);
        if (from.size() != 1 || to.size() > 1) {
            copy.replacingUnsupported = true;
            continue;
        }
        replacement.from = upperText(from.front());
        replacement.to = to.empty() ? std::string() : to.front();
        copy.replacements.push_back(std::move(replacement));
    }
}

} // namespace

void DataDescriptions::applyReplacing(std::vector<Token> &tokens, const CopyStatement &copy)
{
    for (Token &token : tokens) {
        if (token.kind != TokenKind::Word)
            continue;
        for (const Replacement &replacement : copy.replacements) {
            const std::string &from = replacement.from;
            if (from.empty())
                continue;
            const bool tag = from.size() > 2
                             && ((from.front() == ':' && from.back() == ':')
                                 || (from.front() == '(' && from.back() == ')'));
            std::string text = token.upper;
            switch (replacement.mode) {
            case Replacement::Mode::Whole:
                if (text == from) {
                    text = replacement.to;
                } else if (tag) {
                    const std::size_t at = text.find(from);
                    if (at == std::string::npos)
                        continue;
                    text.replace(at, from.size(), replacement.to);
                } else {
                    continue;
                }
                break;
            case Replacement::Mode::Leading:
                if (text.rfind(from, 0) != 0)
                    continue;
                text = replacement.to + text.substr(from.size());
                break;
            case Replacement::Mode::Trailing:
                if (text.size() < from.size()
                    || text.compare(text.size() - from.size(), from.size(), from) != 0)
                    continue;
                text = text.substr(0, text.size() - from.size()) + replacement.to;
                break;
            }
            token.text = text;
            token.upper = upperText(text);
            break; // the first matching pair wins
        }
    }
}

void DataDescriptions::describePicture(const std::string &picture, DataEntry &entry)
{
    int digits = 0;
    int size = 0;
    bool other = false;
    bool alnum = false;
    bool edited = false;
    char previous = 0;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(picture[i])));
        if (c == '(') {
            const std::size_t close = picture.find(')', i);
            if (close == std::string::npos)
                break;
            int count = 0;
            try {
                count = std::stoi(picture.substr(i + 1, close - i - 1));
            } catch (...) {
                count = 1;
            }
            if (count < 1)
                count = 1;
            if (previous == '9' || previous == 'P')
                digits += count - 1;
            if (previous != 'S' && previous != 'V' && previous != 'P')
                size += count - 1;
            i = close;
            continue;
        }
        previous = c;
        if (c != 'S' && c != 'V' && c != 'P')
            ++size;
        if (c == 'C' && i + 1 < picture.size()
            && std::toupper(static_cast<unsigned char>(picture[i + 1])) == 'R') {
            ++size; // CR takes two positions
            ++i;
        }
        if (c == '9' || c == 'P')
            ++digits;
        else if (c == 'X' || c == 'A')
            alnum = true;
        else if (c == 'S' || c == 'V')
            continue;
        else if (c == 'Z' || c == '*' || c == ',' || c == '.' || c == '+' || c == '-' || c == 'B'
                 || c == '0' || c == '/' || c == '$' || c == 'C' || c == 'R' || c == 'D')
            edited = true;
        else
            other = true;
    }
    entry.digits = digits;
    entry.size = size;
    entry.numeric = !alnum && !edited && !other && digits > 0;
    entry.alphanumeric = alnum && !edited && !other;
}

void DataDescriptions::scan(const std::vector<Token> &tokens, const SourceFile &source)
{
    std::string section;
    std::vector<std::pair<int, bool>> levels; // open groups: level, redefined
    bool atEntryStart = true;
    const ExecRegions regions(tokens);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token &token = tokens[i];
        if (token.is("PROCEDURE") && i + 1 < tokens.size() && tokens[i + 1].is("DIVISION"))
            break;
        if (const ExecRegions::Region *region = regions.startingAt(i)) {
            // EXEC SQL INCLUDE names a member as COPY does; other blocks declare no items.
            if (i + 3 < region->last && tokens[i + 1].is("SQL") && tokens[i + 2].is("INCLUDE")) {
                CopyStatement copy;
                std::string name = tokens[i + 3].text;
                if (name.size() >= 2 && (name.front() == '"' || name.front() == '\''))
                    name = name.substr(1, name.size() - 2);
                copy.copybook = name;
                copy.line = token.line + 1;
                m_copies.push_back(copy);
            }
            i = region->last - 1;
            atEntryStart = true;
            continue;
        }
        if (token.is("COPY") && i + 1 < tokens.size()) {
            CopyStatement copy;
            std::string name = tokens[i + 1].text;
            if (name.size() >= 2 && (name.front() == '"' || name.front() == '\''))
                name = name.substr(1, name.size() - 2);
            copy.copybook = name;
            copy.line = token.line + 1;
            std::size_t j = i + 2;
            while (j < tokens.size() && tokens[j].text != "." && !tokens[j].is("REPLACING"))
                ++j;
            if (j < tokens.size() && tokens[j].is("REPLACING"))
                readReplacing(tokens, j + 1, copy);
            m_copies.push_back(copy);
            continue;
        }
        if (token.is("SECTION") && i > 0) {
            const std::string &name = tokens[i - 1].upper;
            if (name == "FILE" || name == "WORKING-STORAGE" || name == "LOCAL-STORAGE"
                || name == "LINKAGE")
                section = name;
            levels.clear();
            atEntryStart = true;
            continue;
        }
        if (token.text == ".") {
            atEntryStart = true;
            continue;
        }
        int level = 0;
        if (!atEntryStart || !isLevel(token, level))
            continue;
        atEntryStart = false;
        DataEntry entry;
        entry.level = level;
        entry.section = section;
        entry.file = source.path;
        entry.line = token.line + 1;
        std::size_t j = i + 1;
        if (j < tokens.size() && tokens[j].kind == TokenKind::Word
            && usageWords().count(tokens[j].upper) == 0 && !tokens[j].is("PIC")
            && !tokens[j].is("PICTURE") && !tokens[j].is("REDEFINES")) {
            entry.name = tokens[j].upper;
            ++j;
        } else {
            entry.name = "FILLER";
        }
        if (level == 1 || level == 77)
            levels.clear();
        while (!levels.empty() && levels.back().first >= level && level <= 49)
            levels.pop_back();
        bool redefined = !levels.empty() && levels.back().second;
        if (level == 88) {
            for (std::size_t k = m_entries.size(); k-- > 0;) {
                if (m_entries[k].level != 88) {
                    entry.conditionOf = m_entries[k].name;
                    break;
                }
            }
        }
        bool inValue = false;
        for (; j < tokens.size() && tokens[j].text != "."; ++j) {
            const Token &clause = tokens[j];
            if (level == 88) {
                if (clause.is("VALUE") || clause.is("VALUES")) {
                    inValue = true;
                } else if (inValue && !clause.is("IS") && !clause.is("ARE")) {
                    entry.values += (entry.values.empty() ? "" : " ") + clause.upper;
                }
                continue;
            }
            if (clause.is("REDEFINES")) {
                redefined = true;
                if (j + 1 < tokens.size())
                    for (std::size_t k = m_entries.size(); k-- > 0;)
                        if (m_entries[k].name == tokens[j + 1].upper) {
                            m_entries[k].redefined = true;
                            break;
                        }
            } else if ((clause.is("PIC") || clause.is("PICTURE")) && j + 1 < tokens.size()) {
                std::size_t k = j + 1;
                if (tokens[k].is("IS") && k + 1 < tokens.size())
                    ++k;
                // The picture string is one run of non-blank text; tokens split it, so take it
                // from the line itself.
                const std::string &text = source.lines[tokens[k].line];
                std::size_t end = tokens[k].begin;
                while (end < text.size() && text[end] != ' ')
                    ++end;
                std::string picture = text.substr(tokens[k].begin, end - tokens[k].begin);
                if (!picture.empty() && (picture.back() == '.' || picture.back() == ','))
                    picture.pop_back();
                for (char &c : picture)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                entry.picture = picture;
                describePicture(picture, entry);
                while (k + 1 < tokens.size() && tokens[k + 1].line == tokens[k].line
                       && tokens[k + 1].begin < end && tokens[k + 1].text != ".")
                    ++k;
                j = k;
            } else if (usageWords().count(clause.upper)) {
                entry.usage = clause.upper;
            }
        }
        i = j > i ? j - 1 : i;
        entry.redefined = entry.redefined || redefined;
        if (level <= 49)
            levels.emplace_back(level, redefined);
        m_byName.emplace(entry.name, m_entries.size());
        m_entries.push_back(std::move(entry));
    }
}

std::vector<const DataEntry *> DataDescriptions::find(const std::string &name) const
{
    std::vector<const DataEntry *> found;
    auto [first, last] = m_byName.equal_range(name);
    for (auto it = first; it != last; ++it)
        found.push_back(&m_entries[it->second]);
    return found;
}

std::vector<const DataEntry *> DataDescriptions::conditionsOf(const std::string &name) const
{
    std::vector<const DataEntry *> found;
    for (const DataEntry &entry : m_entries)
        if (entry.level == 88 && entry.conditionOf == name)
            found.push_back(&entry);
    return found;
}

bool DataDescriptions::isConditionName(const std::string &name) const
{
    for (const DataEntry *entry : find(name))
        if (entry->level == 88)
            return true;
    return false;
}

} // namespace vyquext
