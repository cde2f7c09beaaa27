#include "SqlColumnResolver.h"

#include "ExecArgumentReader.h"

#include <algorithm>
#include <set>

namespace cobol {

namespace {

const std::set<std::string, std::less<>> &keywords()
{
    static const std::set<std::string, std::less<>> words
        = {"ALL",    "AND",      "AS",        "ASC",      "BETWEEN",   "BY",        "CASE",
           "CROSS",  "CURRENT",  "DESC",      "DISTINCT", "ELSE",      "END",       "ESCAPE",
           "EXCEPT", "EXISTS",   "FETCH",     "FIRST",    "FOR",       "FROM",      "FULL",
           "GROUP",  "HAVING",   "IN",        "INNER",    "INTERSECT", "INTO",      "IS",
           "JOIN",   "LEFT",     "LIKE",      "NOT",      "NULL",      "OF",        "ON",
           "ONLY",   "OPTIMIZE", "OR",        "ORDER",    "OUTER",     "QUERYNO",   "RIGHT",
           "ROW",    "ROWS",     "SELECT",    "SET",      "SKIP",      "SOME",      "ANY",
           "THEN",   "UNION",    "UPDATE",    "USING",    "VALUES",    "WHEN",      "WHERE",
           "WITH",   "UR",       "CS",        "RS",       "RR",        "READ",      "USE",
           "KEEP",   "LOCKS",    "EXCLUSIVE", "SHARE",    "MODE",      "INDICATOR", "DESCRIPTOR"};
    return words;
}

bool isComparison(const LexToken &t)
{
    return t.kind == TokenKind::Punctuation
           && (t.text() == "=" || t.text() == "<" || t.text() == ">" || t.text() == "<="
               || t.text() == ">=" || t.text() == "<>");
}

bool startsWith(const std::string &text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

void SqlColumnResolver::readTables(Range range)
{
    // Every table reference after FROM, JOIN, UPDATE, INTO (of INSERT) and in FROM lists.
    static const std::set<std::string, std::less<>> introducers = {"FROM", "JOIN", "UPDATE"};
    for (std::size_t i = range.first; i < range.last; ++i) {
        const LexToken &t = m_reader.token(i);
        const bool insertInto = t.upper() == "INTO" && i > range.first
                                && m_reader.isWord(i - 1, "INSERT");
        if (t.kind != TokenKind::Word || (!introducers.count(t.upper()) && !insertInto))
            continue;
        std::size_t k = i + 1;
        for (;;) {
            if (m_reader.token(k).kind != TokenKind::Word
                || keywords().count(m_reader.token(k).upper()))
                break;
            std::string table = std::string(m_reader.token(k).upper());
            ++k;
            while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
                table = m_reader.token(k + 1).upper();
                k += 2;
            }
            if (std::find(m_tables.begin(), m_tables.end(), table) == m_tables.end())
                m_tables.push_back(table);
            m_aliases[table] = table;
            if (m_reader.isWord(k, "AS"))
                ++k;
            const LexToken &alias = m_reader.token(k);
            if (alias.kind == TokenKind::Word && !keywords().count(alias.upper()) && !insertInto) {
                m_aliases[std::string(alias.upper())] = table;
                ++k;
            }
            if (!m_reader.isPunct(k, ",") || insertInto)
                break;
            ++k;
        }
    }
}

SqlColumnResolver::Target SqlColumnResolver::column(const std::string &qualifier,
                                                    const std::string &name) const
{
    std::string table;
    if (!qualifier.empty()) {
        const auto it = m_aliases.find(qualifier);
        table = it != m_aliases.end() ? it->second : qualifier;
    } else {
        std::vector<std::string> declaring;
        for (const std::string &candidate : m_tables) {
            const auto it = m_schema.tables.find(candidate);
            if (it != m_schema.tables.end()
                && std::any_of(it->second.begin(), it->second.end(), [&](const auto &c) {
                       return c.name == name;
                   }))
                declaring.push_back(candidate);
        }
        if (declaring.size() == 1)
            table = declaring.front();
        else if (declaring.empty() && m_tables.size() == 1)
            table = m_tables.front();
    }
    Target target;
    target.column = table.empty() ? name : table + "." + name;
    if (const auto it = m_schema.tables.find(table); it != m_schema.tables.end())
        for (const SqlSchema::Column &c : it->second)
            if (c.name == name)
                target.type = c.type;
    return target;
}

SqlColumnResolver::Target SqlColumnResolver::expression(Range range) const
{
    // "expr AS alias" and "column alias" name the result; the alias is no part of it.
    if (range.last >= range.first + 3 && m_reader.isWord(range.last - 2, "AS"))
        range.last -= 2;
    const std::size_t n = range.last - range.first;
    const LexToken &a = m_reader.token(range.first);
    const LexToken &b = m_reader.token(range.first + 1);
    Target target;
    target.column = m_text.text(range);
    if (n == 2 && a.upper() == "CURRENT" && b.kind == TokenKind::Word
        && (b.upper() == "DATE" || b.upper() == "TIMESTAMP" || b.upper() == "TIME")) {
        target.type = b.upper();
        return target;
    }
    if (n == 1 && a.kind == TokenKind::Word
        && (a.upper() == "CURRENT_DATE" || a.upper() == "CURRENT_TIMESTAMP"
            || a.upper() == "CURRENT_TIME")) {
        target.column = "CURRENT " + std::string(a.upper().substr(8));
        target.type = a.upper().substr(8);
        return target;
    }
    if (a.kind == TokenKind::Word && !keywords().count(a.upper())) {
        if (n == 1 || (n == 2 && b.kind == TokenKind::Word && !keywords().count(b.upper())))
            return column("", std::string(a.upper()));
        if (n == 3 && m_reader.isPunct(range.first + 1, ".")
            && m_reader.token(range.first + 2).kind == TokenKind::Word)
            return column(std::string(a.upper()),
                          std::string(m_reader.token(range.first + 2).upper()));
        if (m_reader.isPunct(range.first + 1, "(")
            && m_reader.closing(range.first + 1) + 1 == range.last) {
            const std::vector<Range> args = m_text.splitList({range.first + 2, range.last - 1});
            if (a.upper() == "DATE" || a.upper() == "TIMESTAMP") {
                target.type = a.upper();
            } else if (a.upper() == "YEAR") {
                target.type = "YEAR";
            } else if ((a.upper() == "CHAR" || a.upper() == "VARCHAR") && !args.empty()) {
                const std::string inner = expression(args.front()).type;
                if (startsWith(inner, "DATE") && args.size() > 1) {
                    const std::string format = m_text.text(args[1]);
                    if (format == "ISO" || format == "USA" || format == "EUR" || format == "JIS"
                        || format == "LOCAL")
                        target.type = "DATE " + format;
                } else if (startsWith(inner, "DATE") || startsWith(inner, "TIMESTAMP")) {
                    target.type = inner;
                }
            }
        }
    }
    return target;
}

std::vector<SqlColumnResolver::Target> SqlColumnResolver::selectList(Range list) const
{
    std::vector<Target> targets;
    if (m_reader.isWord(list.first, "ALL") || m_reader.isWord(list.first, "DISTINCT"))
        ++list.first;
    for (const Range &entry : m_text.splitList(list)) {
        const std::size_t n = entry.last - entry.first;
        const bool star = n >= 1 && m_reader.token(entry.last - 1).text() == "*";
        if (!star) {
            targets.push_back(expression(entry));
            continue;
        }
        // "*" or "T.*": the declared columns of the tables, in order.
        std::vector<std::string> tables = m_tables;
        if (n == 3) {
            const auto alias = m_aliases.find(std::string(m_reader.token(entry.first).upper()));
            tables = {alias != m_aliases.end() ? alias->second
                                               : std::string(m_reader.token(entry.first).upper())};
        }
        for (const std::string &table : tables)
            if (const auto it = m_schema.tables.find(table); it != m_schema.tables.end())
                for (const SqlSchema::Column &c : it->second)
                    targets.push_back({table + "." + c.name, c.type});
    }
    return targets;
}

SqlColumnResolver::Target SqlColumnResolver::predicateColumn(std::size_t colon) const
{
    // The column on the other side of a comparison: "COL op :HV", ":HV op COL",
    // "COL BETWEEN :A AND :B", "COL IN (:A, :B)", "COL LIKE :HV".
    auto columnEndingAt = [&](std::size_t k) -> Target {
        const LexToken &t = m_reader.token(k);
        if (k < m_reader.block().bodyBegin || t.kind != TokenKind::Word
            || keywords().count(t.upper()))
            return {};
        if (k >= m_reader.block().bodyBegin + 2 && m_reader.isPunct(k - 1, ".")
            && m_reader.token(k - 2).kind == TokenKind::Word)
            return column(std::string(m_reader.token(k - 2).upper()), std::string(t.upper()));
        return column("", std::string(t.upper()));
    };
    auto columnStartingAt = [&](std::size_t k) -> Target {
        const LexToken &t = m_reader.token(k);
        if (t.kind != TokenKind::Word || keywords().count(t.upper()))
            return {};
        if (m_reader.isPunct(k + 1, ".") && m_reader.token(k + 2).kind == TokenKind::Word
            && !m_reader.isPunct(k + 3, "("))
            return column(std::string(t.upper()), std::string(m_reader.token(k + 2).upper()));
        if (m_reader.isPunct(k + 1, "("))
            return {};
        return column("", std::string(t.upper()));
    };
    const std::size_t begin = m_reader.block().bodyBegin;
    if (colon > begin) {
        const std::size_t p = colon - 1;
        if (isComparison(m_reader.token(p)) && p > begin)
            return columnEndingAt(p - 1);
        if ((m_reader.isWord(p, "LIKE") || m_reader.isWord(p, "BETWEEN")) && p > begin)
            return columnEndingAt(p - 1);
        if (m_reader.isWord(p, "AND")) {
            for (std::size_t k = p; k > begin && k + 8 > p; --k)
                if (m_reader.isWord(k - 1, "BETWEEN"))
                    return k - 1 > begin ? columnEndingAt(k - 2) : Target();
        }
        // An IN list: back to its parenthesis.
        std::size_t k = p;
        while (k > begin
               && (m_reader.isPunct(k, ",") || m_reader.isPunct(k, ":")
                   || m_reader.token(k).kind == TokenKind::Word
                   || m_reader.token(k).kind == TokenKind::Literal
                   || m_reader.token(k).kind == TokenKind::Number)
               && !m_reader.isWord(k, "IN"))
            --k;
        if (m_reader.isPunct(k, "(") && k > begin && m_reader.isWord(k - 1, "IN"))
            return k - 1 > begin ? columnEndingAt(m_reader.isWord(k - 2, "NOT") ? k - 3 : k - 2)
                                 : Target();
    }
    std::size_t after = colon + 2;
    while (m_reader.isPunct(after, ".") || m_reader.isPunct(after, ":")
           || m_reader.isWord(after, "INDICATOR")
           || (m_reader.token(after).kind == TokenKind::Word && m_reader.token(after).glued))
        ++after;
    if (isComparison(m_reader.token(after)))
        return columnStartingAt(after + 1);
    return {};
}

} // namespace cobol
