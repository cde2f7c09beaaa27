#include "SqlStatementParser.h"

#include "ExecArgumentReader.h"

#include <algorithm>
#include <set>

namespace cobol {

namespace {

const std::set<std::string, std::less<>> &knownStatements()
{
    static const std::set<std::string, std::less<>> words
        = {"ALLOCATE",  "ALTER",    "ASSOCIATE", "BEGIN",   "CALL",     "CLOSE",    "COMMENT",
           "COMMIT",    "CONNECT",  "CREATE",    "DECLARE", "DELETE",   "DESCRIBE", "DROP",
           "END",       "EXCHANGE", "EXECUTE",   "EXPLAIN", "FETCH",    "FREE",     "GET",
           "GRANT",     "HOLD",     "INCLUDE",   "INSERT",  "LABEL",    "LOCK",     "MERGE",
           "OPEN",      "PREPARE",  "REFRESH",   "RELEASE", "RENAME",   "REVOKE",   "ROLLBACK",
           "SAVEPOINT", "SELECT",   "SET",       "SIGNAL",  "TRANSFER", "TRUNCATE", "UPDATE",
           "VALUES",    "WHENEVER", "WITH"};
    return words;
}

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
           && (t.text == "=" || t.text == "<" || t.text == ">" || t.text == "<=" || t.text == ">="
               || t.text == "<>");
}

bool startsWith(const std::string &text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

bool SqlStatementParser::hostVariableAt(std::size_t index) const
{
    return m_reader.isPunct(index, ":") && m_reader.token(index + 1).kind == TokenKind::Word
           && m_reader.token(index + 1).glued;
}

std::size_t SqlStatementParser::skipParentheses(std::size_t index) const
{
    return m_reader.isPunct(index, "(") ? m_reader.closing(index) + 1 : index + 1;
}

std::size_t SqlStatementParser::findKeyword(Range range,
                                            std::initializer_list<std::string_view> words) const
{
    for (std::size_t i = range.first; i < range.last;) {
        if (m_reader.isPunct(i, "(")) {
            i = skipParentheses(i);
            continue;
        }
        const LexToken &t = m_reader.token(i);
        if (t.kind == TokenKind::Word
            && std::find(words.begin(), words.end(), std::string_view(t.upper)) != words.end())
            return i;
        ++i;
    }
    return range.last;
}

std::vector<SqlStatementParser::Range> SqlStatementParser::splitList(Range range) const
{
    std::vector<Range> parts;
    std::size_t start = range.first;
    for (std::size_t i = range.first; i < range.last;) {
        if (m_reader.isPunct(i, "(")) {
            i = std::min(skipParentheses(i), range.last);
            continue;
        }
        if (m_reader.isPunct(i, ",")) {
            parts.push_back({start, i});
            start = i + 1;
        }
        ++i;
    }
    if (start < range.last)
        parts.push_back({start, range.last});
    return parts;
}

std::string SqlStatementParser::text(Range range) const
{
    std::string out;
    std::string previous;
    for (std::size_t i = range.first; i < range.last; ++i) {
        const LexToken &t = m_reader.token(i);
        const std::string &piece = t.kind == TokenKind::Literal ? t.text : t.upper;
        const bool tight = out.empty() || piece == ")" || piece == "," || piece == "."
                           || previous == "(" || previous == "." || previous == ":"
                           || previous == "," || (piece == "(" && t.glued);
        if (!tight)
            out += ' ';
        out += piece;
        previous = piece;
    }
    return out;
}

Operand SqlStatementParser::hostOperand(std::size_t nameIndex,
                                        std::size_t &next,
                                        bool &qualified) const
{
    const LexToken &name = m_reader.token(nameIndex);
    Operand op;
    op.kind = OperandKind::Item;
    op.place = name.place;
    qualified = m_reader.isPunct(nameIndex + 1, ".") && m_reader.token(nameIndex + 1).glued
                && m_reader.token(nameIndex + 2).kind == TokenKind::Word
                && m_reader.token(nameIndex + 2).glued;
    if (qualified) {
        op.text = m_reader.token(nameIndex + 2).upper;
        op.item = m_reader.symbols().resolve(op.text, {name.upper});
        next = nameIndex + 3;
    } else {
        op.text = name.upper;
        op.item = m_reader.symbols().resolve(op.text, {});
        next = nameIndex + 1;
    }
    if (op.item == 0)
        m_reader.diagnose(Diagnostic::Severity::Error,
                          name.place,
                          "The host variable :" + (qualified ? name.upper + "." : std::string())
                              + op.text + " in EXEC SQL is not declared.");
    return op;
}

std::vector<std::uint32_t> SqlStatementParser::structureMembers(std::uint32_t item) const
{
    const AnalysisData &data = m_reader.data();
    const DataItem *group = data.item(item);
    if (!group || group->category != Category::Group)
        return {};
    std::vector<std::uint32_t> members;
    bool varchar = true;
    for (const DataItem &child : data.items) {
        if (child.parent != item || child.level == 88 || child.level == 66)
            continue;
        varchar = varchar && child.level == 49;
        if (child.name != "FILLER")
            members.push_back(child.id);
    }
    // A group of two level-49 items is one VARCHAR host variable, not a structure.
    return varchar ? std::vector<std::uint32_t>() : members;
}

std::size_t SqlStatementParser::hostVariable(std::size_t index,
                                             OperandRole role,
                                             const std::string &option,
                                             const std::vector<Target> &columns,
                                             std::size_t &nextColumn,
                                             bool expandStructure)
{
    std::size_t next = index + 1;
    bool qualified = false;
    Operand op = hostOperand(index + 1, next, qualified);
    op.role = role;
    op.option = option;
    m_consumed[index - m_reader.block().bodyBegin] = true;
    const std::vector<std::uint32_t> members = expandStructure && op.item
                                                   ? structureMembers(op.item)
                                                   : std::vector<std::uint32_t>();
    auto nextTarget = [&](Operand &operand) {
        if (nextColumn < columns.size()) {
            operand.column = columns[nextColumn].column;
            operand.sqlType = columns[nextColumn].type;
        }
        ++nextColumn;
    };
    if (members.empty()) {
        nextTarget(op);
        m_operands.push_back(op);
    } else {
        for (std::uint32_t member : members) {
            Operand part = op;
            part.item = member;
            part.text = m_reader.data().item(member)->name;
            nextTarget(part);
            m_operands.push_back(std::move(part));
        }
    }
    // An indicator variable: ":HV:IND", ":HV INDICATOR :IND".
    std::size_t indicator = next;
    if (m_reader.isWord(indicator, "INDICATOR"))
        ++indicator;
    if (hostVariableAt(indicator)) {
        m_consumed[indicator - m_reader.block().bodyBegin] = true;
        Operand ind = hostOperand(indicator + 1, next, qualified);
        ind.role = role;
        ind.option = "INDICATOR";
        m_operands.push_back(std::move(ind));
    }
    return next;
}

void SqlStatementParser::assignList(Range list,
                                    OperandRole role,
                                    const std::string &option,
                                    const std::vector<Target> &columns)
{
    std::size_t nextColumn = 0;
    for (std::size_t i = list.first; i < list.last;) {
        if (hostVariableAt(i))
            i = hostVariable(i, role, option, columns, nextColumn, /*expandStructure=*/true);
        else
            ++i;
    }
}

void SqlStatementParser::readTables(Range range)
{
    // Every table reference after FROM, JOIN, UPDATE, INTO (of INSERT) and in FROM lists.
    static const std::set<std::string, std::less<>> introducers = {"FROM", "JOIN", "UPDATE"};
    for (std::size_t i = range.first; i < range.last; ++i) {
        const LexToken &t = m_reader.token(i);
        const bool insertInto = t.upper == "INTO" && i > range.first
                                && m_reader.isWord(i - 1, "INSERT");
        if (t.kind != TokenKind::Word || (!introducers.count(t.upper) && !insertInto))
            continue;
        std::size_t k = i + 1;
        for (;;) {
            if (m_reader.token(k).kind != TokenKind::Word
                || keywords().count(m_reader.token(k).upper))
                break;
            std::string table = m_reader.token(k).upper;
            ++k;
            while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
                table = m_reader.token(k + 1).upper;
                k += 2;
            }
            if (std::find(m_tables.begin(), m_tables.end(), table) == m_tables.end())
                m_tables.push_back(table);
            m_aliases[table] = table;
            if (m_reader.isWord(k, "AS"))
                ++k;
            const LexToken &alias = m_reader.token(k);
            if (alias.kind == TokenKind::Word && !keywords().count(alias.upper) && !insertInto) {
                m_aliases[alias.upper] = table;
                ++k;
            }
            if (!m_reader.isPunct(k, ",") || insertInto)
                break;
            ++k;
        }
    }
}

SqlStatementParser::Target SqlStatementParser::column(const std::string &qualifier,
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

SqlStatementParser::Target SqlStatementParser::expression(Range range) const
{
    // "expr AS alias" and "column alias" name the result; the alias is no part of it.
    if (range.last >= range.first + 3 && m_reader.isWord(range.last - 2, "AS"))
        range.last -= 2;
    const std::size_t n = range.last - range.first;
    const LexToken &a = m_reader.token(range.first);
    const LexToken &b = m_reader.token(range.first + 1);
    Target target;
    target.column = text(range);
    if (n == 2 && a.upper == "CURRENT" && b.kind == TokenKind::Word
        && (b.upper == "DATE" || b.upper == "TIMESTAMP" || b.upper == "TIME")) {
        target.type = b.upper;
        return target;
    }
    if (n == 1 && a.kind == TokenKind::Word
        && (a.upper == "CURRENT_DATE" || a.upper == "CURRENT_TIMESTAMP"
            || a.upper == "CURRENT_TIME")) {
        target.column = "CURRENT " + a.upper.substr(8);
        target.type = a.upper.substr(8);
        return target;
    }
    if (a.kind == TokenKind::Word && !keywords().count(a.upper)) {
        if (n == 1 || (n == 2 && b.kind == TokenKind::Word && !keywords().count(b.upper)))
            return column("", a.upper);
        if (n == 3 && m_reader.isPunct(range.first + 1, ".")
            && m_reader.token(range.first + 2).kind == TokenKind::Word)
            return column(a.upper, m_reader.token(range.first + 2).upper);
        if (m_reader.isPunct(range.first + 1, "(")
            && m_reader.closing(range.first + 1) + 1 == range.last) {
            const std::vector<Range> args = splitList({range.first + 2, range.last - 1});
            if (a.upper == "DATE" || a.upper == "TIMESTAMP") {
                target.type = a.upper;
            } else if (a.upper == "YEAR") {
                target.type = "YEAR";
            } else if ((a.upper == "CHAR" || a.upper == "VARCHAR") && !args.empty()) {
                const std::string inner = expression(args.front()).type;
                if (startsWith(inner, "DATE") && args.size() > 1) {
                    const std::string format = text(args[1]);
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

std::vector<SqlStatementParser::Target> SqlStatementParser::selectList(Range list) const
{
    std::vector<Target> targets;
    if (m_reader.isWord(list.first, "ALL") || m_reader.isWord(list.first, "DISTINCT"))
        ++list.first;
    for (const Range &entry : splitList(list)) {
        const std::size_t n = entry.last - entry.first;
        const bool star = n >= 1 && m_reader.token(entry.last - 1).text == "*";
        if (!star) {
            targets.push_back(expression(entry));
            continue;
        }
        // "*" or "T.*": the declared columns of the tables, in order.
        std::vector<std::string> tables = m_tables;
        if (n == 3) {
            const auto alias = m_aliases.find(m_reader.token(entry.first).upper);
            tables = {alias != m_aliases.end() ? alias->second : m_reader.token(entry.first).upper};
        }
        for (const std::string &table : tables)
            if (const auto it = m_schema.tables.find(table); it != m_schema.tables.end())
                for (const SqlSchema::Column &c : it->second)
                    targets.push_back({table + "." + c.name, c.type});
    }
    return targets;
}

SqlStatementParser::Target SqlStatementParser::predicateColumn(std::size_t colon) const
{
    // The column on the other side of a comparison: "COL op :HV", ":HV op COL",
    // "COL BETWEEN :A AND :B", "COL IN (:A, :B)", "COL LIKE :HV".
    auto columnEndingAt = [&](std::size_t k) -> Target {
        const LexToken &t = m_reader.token(k);
        if (k < m_reader.block().bodyBegin || t.kind != TokenKind::Word
            || keywords().count(t.upper))
            return {};
        if (k >= m_reader.block().bodyBegin + 2 && m_reader.isPunct(k - 1, ".")
            && m_reader.token(k - 2).kind == TokenKind::Word)
            return column(m_reader.token(k - 2).upper, t.upper);
        return column("", t.upper);
    };
    auto columnStartingAt = [&](std::size_t k) -> Target {
        const LexToken &t = m_reader.token(k);
        if (t.kind != TokenKind::Word || keywords().count(t.upper))
            return {};
        if (m_reader.isPunct(k + 1, ".") && m_reader.token(k + 2).kind == TokenKind::Word
            && !m_reader.isPunct(k + 3, "("))
            return column(t.upper, m_reader.token(k + 2).upper);
        if (m_reader.isPunct(k + 1, "("))
            return {};
        return column("", t.upper);
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

void SqlStatementParser::declareTable(Statement &statement,
                                      const std::string &table,
                                      std::size_t open)
{
    statement.detail = "SQL DECLARE TABLE";
    const std::size_t close = m_reader.closing(open);
    std::vector<SqlSchema::Column> columns;
    std::vector<SourcePlace> places;
    static const std::set<std::string, std::less<>> typeEnds = {"NOT",
                                                                "WITH",
                                                                "DEFAULT",
                                                                "FOR",
                                                                "CCSID",
                                                                "GENERATED",
                                                                "CONSTRAINT",
                                                                "PRIMARY",
                                                                "UNIQUE",
                                                                "REFERENCES",
                                                                "CHECK",
                                                                "AS",
                                                                "IMPLICITLY"};
    for (const Range &entry : splitList({open + 1, close})) {
        const LexToken &name = m_reader.token(entry.first);
        if (name.kind == TokenKind::Word
            && (name.upper == "PRIMARY" || name.upper == "FOREIGN" || name.upper == "CONSTRAINT"
                || name.upper == "UNIQUE" || name.upper == "CHECK"))
            continue;
        SqlSchema::Column c;
        c.name = name.kind == TokenKind::Literal && name.text.size() >= 2
                     ? name.text.substr(1, name.text.size() - 2)
                     : name.upper;
        std::size_t end = entry.first + 1;
        while (end < entry.last
               && !(m_reader.token(end).kind == TokenKind::Word
                    && typeEnds.count(m_reader.token(end).upper)))
            end = m_reader.isPunct(end, "(") ? skipParentheses(end) : end + 1;
        c.type = text({entry.first + 1, std::min(end, entry.last)});
        columns.push_back(std::move(c));
        places.push_back(name.place);
    }
    m_schema.tables[table] = columns;

    // A DCLGEN member follows the declaration with the host structure of the table.
    const AnalysisData &data = m_reader.data();
    std::uint32_t structure = 0;
    for (std::uint32_t id = m_itemsBefore + 1; id <= data.items.size() && !structure; ++id)
        if (data.items[id - 1].level == 1)
            structure = data.items[id - 1].category == Category::Group ? id : 0xFFFFFFFFu;
    std::vector<std::uint32_t> members;
    if (structure && structure != 0xFFFFFFFFu)
        for (const DataItem &child : data.items)
            if (child.parent == structure && child.level != 88 && child.level != 66)
                members.push_back(child.id);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        std::uint32_t item = 0;
        if (members.size() == columns.size()) {
            item = members[k];
        } else {
            std::string cobolName = columns[k].name;
            std::replace(cobolName.begin(), cobolName.end(), '_', '-');
            for (std::uint32_t member : members) {
                const std::string &name = data.item(member)->name;
                if (name == cobolName
                    || (name.size() > cobolName.size()
                        && name.compare(name.size() - cobolName.size(), cobolName.size(), cobolName)
                               == 0
                        && name[name.size() - cobolName.size() - 1] == '-'))
                    item = member;
            }
        }
        Operand op;
        op.role = OperandRole::Column;
        op.kind = item ? OperandKind::Item : OperandKind::Literal;
        op.item = item;
        op.text = item ? data.item(item)->name : columns[k].name;
        op.place = places[k];
        op.option = "DECLARE TABLE";
        op.column = table + "." + columns[k].name;
        op.sqlType = columns[k].type;
        statement.operands.push_back(std::move(op));
    }
}

void SqlStatementParser::declare(Statement &statement)
{
    const ExecBlock &block = m_reader.block();
    std::size_t k = block.bodyBegin + 1;
    std::string name = m_reader.token(k).upper;
    ++k;
    while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
        name = m_reader.token(k + 1).upper;
        k += 2;
    }
    const Range rest{k, block.bodyEnd};
    const std::size_t table = findKeyword(rest, {"TABLE", "VIEW"});
    const std::size_t cursor = findKeyword(rest, {"CURSOR"});
    if (table < rest.last && table < cursor) {
        const std::size_t open = table + 1;
        if (m_reader.isPunct(open, "("))
            declareTable(statement, name, open);
        else
            statement.detail = "SQL DECLARE TABLE";
        return;
    }
    if (cursor < rest.last) {
        statement.detail = "SQL DECLARE CURSOR";
        const std::size_t forWord = findKeyword({cursor, rest.last}, {"FOR"});
        if (forWord + 1 < rest.last
            && (m_reader.isWord(forWord + 1, "SELECT") || m_reader.isWord(forWord + 1, "WITH"))) {
            const Range queryRange{forWord + 1, rest.last};
            readTables(queryRange);
            const std::size_t select = findKeyword(queryRange, {"SELECT"});
            const std::size_t from = findKeyword({select, rest.last}, {"FROM", "INTO"});
            std::vector<SqlSchema::Expression> &list = m_schema.cursors[name];
            list.clear();
            for (const Target &target : selectList({select + 1, from}))
                list.push_back({target.column, target.type});
        }
        return;
    }
    statement.detail = m_reader.isWord(k, "STATEMENT") ? "SQL DECLARE STATEMENT" : "SQL DECLARE";
}

void SqlStatementParser::query(Range range, bool withInto)
{
    const std::size_t select = findKeyword(range, {"SELECT"});
    if (select == range.last)
        return;
    const std::size_t into = findKeyword({select, range.last}, {"INTO"});
    const std::size_t from = findKeyword({select, range.last}, {"FROM"});
    const std::vector<Target> list = selectList({select + 1, std::min(into, from)});
    if (withInto && into < range.last)
        assignList({into + 1, std::max(from, into + 1)}, OperandRole::Target, "INTO", list);
}

void SqlStatementParser::insert(Range range)
{
    std::size_t k = range.first + 1;
    if (m_reader.isWord(k, "INTO"))
        ++k;
    std::string table = m_reader.token(k).upper;
    ++k;
    while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
        table = m_reader.token(k + 1).upper;
        k += 2;
    }
    std::vector<Target> columns;
    if (m_reader.isPunct(k, "(")) {
        const std::size_t close = m_reader.closing(k);
        for (const Range &c : splitList({k + 1, close}))
            columns.push_back(column(table, m_reader.token(c.first).upper));
        k = close + 1;
    } else if (const auto it = m_schema.tables.find(table); it != m_schema.tables.end()) {
        for (const SqlSchema::Column &c : it->second)
            columns.push_back({table + "." + c.name, c.type});
    }
    const std::size_t values = findKeyword({k, range.last}, {"VALUES"});
    if (values == range.last) {
        query({k, range.last}, /*withInto=*/false);
        return;
    }
    Range list{values + 1, findKeyword({values + 1, range.last}, {"FOR"})};
    if (m_reader.isPunct(list.first, "(")) {
        list = {list.first + 1, m_reader.closing(list.first)};
    }
    // Each value takes the next column; a host structure takes one per item.
    std::size_t nextColumn = 0;
    for (const Range &value : splitList(list)) {
        if (hostVariableAt(value.first)) {
            const std::size_t end = hostVariable(value.first,
                                                 OperandRole::Source,
                                                 "VALUES",
                                                 columns,
                                                 nextColumn,
                                                 /*expandStructure=*/true);
            (void) end;
        } else {
            ++nextColumn;
        }
    }
}

void SqlStatementParser::update(Range range)
{
    const std::size_t set = findKeyword(range, {"SET"});
    const std::size_t where = findKeyword({set, range.last}, {"WHERE"});
    std::string table = m_tables.empty() ? std::string() : m_tables.front();
    for (const Range &assignment : splitList({set + 1, where})) {
        std::size_t eq = assignment.first;
        while (eq < assignment.last && !m_reader.isPunct(eq, "="))
            eq = m_reader.isPunct(eq, "(") ? skipParentheses(eq) : eq + 1;
        if (eq >= assignment.last)
            continue;
        std::vector<Range> left{{assignment.first, eq}};
        std::vector<Range> right{{eq + 1, assignment.last}};
        if (m_reader.isPunct(assignment.first, "(") && m_reader.isPunct(eq + 1, "(")) {
            left = splitList({assignment.first + 1, m_reader.closing(assignment.first)});
            right = splitList({eq + 2, m_reader.closing(eq + 1)});
        }
        for (std::size_t k = 0; k < left.size() && k < right.size(); ++k) {
            const Range &value = right[k];
            if (!hostVariableAt(value.first))
                continue;
            Target target;
            const Range &name = left[k];
            if (name.last - name.first == 3 && m_reader.isPunct(name.first + 1, "."))
                target = column(m_reader.token(name.first).upper,
                                m_reader.token(name.first + 2).upper);
            else
                target = column(table, m_reader.token(name.first).upper);
            std::size_t nextColumn = 0;
            hostVariable(value.first, OperandRole::Source, "SET", {target}, nextColumn, false);
        }
    }
}

void SqlStatementParser::fetch(Range range)
{
    const std::size_t into = findKeyword(range, {"INTO"});
    if (into == range.last || m_reader.isWord(into + 1, "DESCRIPTOR"))
        return;
    std::vector<Target> list;
    if (into > range.first && m_reader.token(into - 1).kind == TokenKind::Word) {
        const auto it = m_schema.cursors.find(m_reader.token(into - 1).upper);
        if (it != m_schema.cursors.end())
            for (const SqlSchema::Expression &e : it->second)
                list.push_back({e.text, e.type});
    }
    assignList({into + 1, range.last}, OperandRole::Target, "INTO", list);
}

void SqlStatementParser::setAssignment(Range range)
{
    const std::size_t start = range.first + 1;
    std::size_t eq = start;
    while (eq < range.last && !m_reader.isPunct(eq, "="))
        eq = m_reader.isPunct(eq, "(") ? skipParentheses(eq) : eq + 1;
    if (eq >= range.last)
        return;
    std::vector<Range> left{{start, eq}};
    std::vector<Range> right{{eq + 1, range.last}};
    if (m_reader.isPunct(start, "(") && m_reader.isPunct(eq + 1, "(")
        && m_reader.closing(eq + 1) + 1 == range.last) {
        left = splitList({start + 1, m_reader.closing(start)});
        right = splitList({eq + 2, m_reader.closing(eq + 1)});
    }
    for (std::size_t k = 0; k < left.size(); ++k) {
        if (!hostVariableAt(left[k].first))
            continue;
        const Target value = k < right.size() ? expression(right[k]) : Target();
        std::size_t nextColumn = 0;
        hostVariable(left[k].first, OperandRole::Target, "SET", {value}, nextColumn, false);
    }
}

void SqlStatementParser::valuesInto(Range range)
{
    const std::size_t into = findKeyword(range, {"INTO"});
    if (into == range.last)
        return;
    Range list{range.first + 1, into};
    if (m_reader.isPunct(list.first, "(") && m_reader.closing(list.first) + 1 == into)
        list = {list.first + 1, into - 1};
    std::vector<Target> values;
    for (const Range &value : splitList(list))
        values.push_back(expression(value));
    assignList({into + 1, range.last}, OperandRole::Target, "INTO", values);
}

void SqlStatementParser::remaining(Statement &statement, OperandRole defaultRole)
{
    static const std::set<std::string, std::less<>> clauses = {"SELECT",
                                                               "INTO",
                                                               "FROM",
                                                               "WHERE",
                                                               "HAVING",
                                                               "ON",
                                                               "SET",
                                                               "VALUES",
                                                               "USING",
                                                               "GROUP",
                                                               "ORDER",
                                                               "CALL",
                                                               "PREPARE",
                                                               "IMMEDIATE",
                                                               "TO",
                                                               "USER",
                                                               "OPEN",
                                                               "FETCH"};
    const ExecBlock &block = m_reader.block();
    std::string clause;
    for (std::size_t i = block.bodyBegin; i < block.bodyEnd;) {
        const LexToken &t = m_reader.token(i);
        if (t.kind == TokenKind::Word && clauses.count(t.upper))
            clause = t.upper;
        if (!hostVariableAt(i) || m_consumed[i - block.bodyBegin]) {
            ++i;
            continue;
        }
        OperandRole role = defaultRole;
        std::size_t after = i + 2;
        while (m_reader.isPunct(after, ".") && m_reader.token(after + 1).kind == TokenKind::Word)
            after += 2;
        if (clause == "INTO" && defaultRole == OperandRole::Source)
            role = OperandRole::Target;
        else if (m_reader.isPunct(after, "=") && defaultRole == OperandRole::Source
                 && (statement.detail == "SQL SET" || statement.detail == "SQL GET"))
            role = OperandRole::Target; // SET :HV = ..., GET DIAGNOSTICS :HV = ...
        std::vector<Target> column;
        if (role == OperandRole::Source) {
            const Target found = predicateColumn(i);
            if (!found.column.empty())
                column.push_back(found);
        }
        std::size_t nextColumn = 0;
        i = hostVariable(i, role, clause, column, nextColumn, false);
    }
}

void SqlStatementParser::parse(Statement &statement)
{
    const ExecBlock &block = m_reader.block();
    m_consumed.assign(block.bodyEnd > block.bodyBegin ? block.bodyEnd - block.bodyBegin : 0, false);
    const LexToken &first = m_reader.token(block.bodyBegin);
    if (first.kind != TokenKind::Word) {
        m_reader.diagnose(Diagnostic::Severity::Error,
                          m_reader.tokens()[block.begin].place,
                          "Expected an SQL statement after EXEC SQL, found "
                              + (first.text.empty() ? std::string("nothing")
                                                    : "\"" + first.text + "\"")
                              + ".");
        statement.detail = "SQL";
        return;
    }
    const std::string &verb = first.upper;
    statement.detail = "SQL " + verb;
    const Range all{block.bodyBegin, block.bodyEnd};
    if (verb == "INCLUDE") {
        const LexToken &member = m_reader.token(block.bodyBegin + 1);
        if (member.kind == TokenKind::Word || member.kind == TokenKind::Literal) {
            Operand op;
            op.role = OperandRole::Source;
            op.kind = OperandKind::Literal;
            op.text = member.kind == TokenKind::Literal ? member.text : member.upper;
            op.place = member.place;
            op.option = "INCLUDE";
            statement.operands.push_back(std::move(op));
        }
        return;
    }
    if ((verb == "BEGIN" || verb == "END") && m_reader.isWord(block.bodyBegin + 1, "DECLARE")) {
        statement.detail = "SQL " + verb + " DECLARE SECTION";
        return;
    }
    if (!knownStatements().count(verb))
        m_reader.diagnose(Diagnostic::Severity::Warning,
                          first.place,
                          "Unknown SQL statement " + verb
                              + ": its host variables are taken as read by it.");
    readTables(all);
    if (verb == "DECLARE")
        declare(statement);
    else if (verb == "SELECT" || verb == "WITH")
        query(all, /*withInto=*/true);
    else if (verb == "VALUES")
        valuesInto(all);
    else if (verb == "INSERT")
        insert(all);
    else if (verb == "UPDATE")
        update(all);
    else if (verb == "FETCH")
        fetch(all);
    else if (verb == "SET")
        setAssignment(all);
    remaining(statement, verb == "CALL" ? OperandRole::Argument : OperandRole::Source);
    // Operands in the order their host variables are written.
    std::stable_sort(m_operands.begin(), m_operands.end(), [](const Operand &a, const Operand &b) {
        return a.place.line != b.place.line ? a.place.line < b.place.line
                                            : a.place.column < b.place.column;
    });
    for (Operand &op : m_operands)
        statement.operands.push_back(std::move(op));
    m_operands.clear();
}

} // namespace cobol
