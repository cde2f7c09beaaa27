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

} // namespace

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
        op.text = m_reader.token(nameIndex + 2).upper();
        op.item = m_reader.symbols().resolve(std::string(op.text), {std::string(name.upper())});
        next = nameIndex + 3;
    } else {
        op.text = name.upper();
        op.item = m_reader.symbols().resolve(op.text, {});
        next = nameIndex + 1;
    }
    if (op.item == 0)
        m_reader.diagnose(Diagnostic::Severity::Error,
                          name.place,
                          "The host variable :"
                              + (qualified ? std::string(name.upper()) + "." : std::string())
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
    if (m_text.hostVariableAt(indicator)) {
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
        if (m_text.hostVariableAt(i))
            i = hostVariable(i, role, option, columns, nextColumn, /*expandStructure=*/true);
        else
            ++i;
    }
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
    for (const Range &entry : m_text.splitList({open + 1, close})) {
        const LexToken &name = m_reader.token(entry.first);
        if (name.kind == TokenKind::Word
            && (name.upper() == "PRIMARY" || name.upper() == "FOREIGN"
                || name.upper() == "CONSTRAINT" || name.upper() == "UNIQUE"
                || name.upper() == "CHECK"))
            continue;
        SqlSchema::Column c;
        c.name = name.kind == TokenKind::Literal && name.text().size() >= 2
                     ? name.text().substr(1, name.text().size() - 2)
                     : name.upper();
        std::size_t end = entry.first + 1;
        while (end < entry.last
               && !(m_reader.token(end).kind == TokenKind::Word
                    && typeEnds.count(m_reader.token(end).upper())))
            end = m_reader.isPunct(end, "(") ? m_text.skipParentheses(end) : end + 1;
        c.type = m_text.text({entry.first + 1, std::min(end, entry.last)});
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
    std::string name = std::string(m_reader.token(k).upper());
    ++k;
    while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
        name = m_reader.token(k + 1).upper();
        k += 2;
    }
    const Range rest{k, block.bodyEnd};
    const std::size_t table = m_text.findKeyword(rest, {"TABLE", "VIEW"});
    const std::size_t cursor = m_text.findKeyword(rest, {"CURSOR"});
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
        const std::size_t forWord = m_text.findKeyword({cursor, rest.last}, {"FOR"});
        if (forWord + 1 < rest.last
            && (m_reader.isWord(forWord + 1, "SELECT") || m_reader.isWord(forWord + 1, "WITH"))) {
            const Range queryRange{forWord + 1, rest.last};
            m_columns.readTables(queryRange);
            const std::size_t select = m_text.findKeyword(queryRange, {"SELECT"});
            const std::size_t from = m_text.findKeyword({select, rest.last}, {"FROM", "INTO"});
            std::vector<SqlSchema::Expression> &list = m_schema.cursors[name];
            list.clear();
            for (const Target &target : m_columns.selectList({select + 1, from}))
                list.push_back({target.column, target.type});
        }
        return;
    }
    statement.detail = m_reader.isWord(k, "STATEMENT") ? "SQL DECLARE STATEMENT" : "SQL DECLARE";
}

void SqlStatementParser::query(Range range, bool withInto)
{
    const std::size_t select = m_text.findKeyword(range, {"SELECT"});
    if (select == range.last)
        return;
    const std::size_t into = m_text.findKeyword({select, range.last}, {"INTO"});
    const std::size_t from = m_text.findKeyword({select, range.last}, {"FROM"});
    const std::vector<Target> list = m_columns.selectList({select + 1, std::min(into, from)});
    if (withInto && into < range.last)
        assignList({into + 1, std::max(from, into + 1)}, OperandRole::Target, "INTO", list);
}

void SqlStatementParser::insert(Range range)
{
    std::size_t k = range.first + 1;
    if (m_reader.isWord(k, "INTO"))
        ++k;
    std::string table = std::string(m_reader.token(k).upper());
    ++k;
    while (m_reader.isPunct(k, ".") && m_reader.token(k + 1).kind == TokenKind::Word) {
        table = m_reader.token(k + 1).upper();
        k += 2;
    }
    std::vector<Target> columns;
    if (m_reader.isPunct(k, "(")) {
        const std::size_t close = m_reader.closing(k);
        for (const Range &c : m_text.splitList({k + 1, close}))
            columns.push_back(
                m_columns.column(table, std::string(m_reader.token(c.first).upper())));
        k = close + 1;
    } else if (const auto it = m_schema.tables.find(table); it != m_schema.tables.end()) {
        for (const SqlSchema::Column &c : it->second)
            columns.push_back({table + "." + c.name, c.type});
    }
    const std::size_t values = m_text.findKeyword({k, range.last}, {"VALUES"});
    if (values == range.last) {
        query({k, range.last}, /*withInto=*/false);
        return;
    }
    Range list{values + 1, m_text.findKeyword({values + 1, range.last}, {"FOR"})};
    if (m_reader.isPunct(list.first, "(")) {
        list = {list.first + 1, m_reader.closing(list.first)};
    }
    // Each value takes the next column; a host structure takes one per item.
    std::size_t nextColumn = 0;
    for (const Range &value : m_text.splitList(list)) {
        if (m_text.hostVariableAt(value.first)) {
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
    const std::size_t set = m_text.findKeyword(range, {"SET"});
    const std::size_t where = m_text.findKeyword({set, range.last}, {"WHERE"});
    std::string table = m_columns.tables().empty() ? std::string() : m_columns.tables().front();
    for (const Range &assignment : m_text.splitList({set + 1, where})) {
        std::size_t eq = assignment.first;
        while (eq < assignment.last && !m_reader.isPunct(eq, "="))
            eq = m_reader.isPunct(eq, "(") ? m_text.skipParentheses(eq) : eq + 1;
        if (eq >= assignment.last)
            continue;
        std::vector<Range> left{{assignment.first, eq}};
        std::vector<Range> right{{eq + 1, assignment.last}};
        if (m_reader.isPunct(assignment.first, "(") && m_reader.isPunct(eq + 1, "(")) {
            left = m_text.splitList({assignment.first + 1, m_reader.closing(assignment.first)});
            right = m_text.splitList({eq + 2, m_reader.closing(eq + 1)});
        }
        for (std::size_t k = 0; k < left.size() && k < right.size(); ++k) {
            const Range &value = right[k];
            if (!m_text.hostVariableAt(value.first))
                continue;
            Target target;
            const Range &name = left[k];
            if (name.last - name.first == 3 && m_reader.isPunct(name.first + 1, "."))
                target = m_columns.column(std::string(m_reader.token(name.first).upper()),
                                          std::string(m_reader.token(name.first + 2).upper()));
            else
                target = m_columns.column(table, std::string(m_reader.token(name.first).upper()));
            std::size_t nextColumn = 0;
            hostVariable(value.first, OperandRole::Source, "SET", {target}, nextColumn, false);
        }
    }
}

void SqlStatementParser::fetch(Range range)
{
    const std::size_t into = m_text.findKeyword(range, {"INTO"});
    if (into == range.last || m_reader.isWord(into + 1, "DESCRIPTOR"))
        return;
    std::vector<Target> list;
    if (into > range.first && m_reader.token(into - 1).kind == TokenKind::Word) {
        const auto it = m_schema.cursors.find(std::string(m_reader.token(into - 1).upper()));
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
        eq = m_reader.isPunct(eq, "(") ? m_text.skipParentheses(eq) : eq + 1;
    if (eq >= range.last)
        return;
    std::vector<Range> left{{start, eq}};
    std::vector<Range> right{{eq + 1, range.last}};
    if (m_reader.isPunct(start, "(") && m_reader.isPunct(eq + 1, "(")
        && m_reader.closing(eq + 1) + 1 == range.last) {
        left = m_text.splitList({start + 1, m_reader.closing(start)});
        right = m_text.splitList({eq + 2, m_reader.closing(eq + 1)});
    }
    for (std::size_t k = 0; k < left.size(); ++k) {
        if (!m_text.hostVariableAt(left[k].first))
            continue;
        const Target value = k < right.size() ? m_columns.expression(right[k]) : Target();
        std::size_t nextColumn = 0;
        hostVariable(left[k].first, OperandRole::Target, "SET", {value}, nextColumn, false);
    }
}

void SqlStatementParser::valuesInto(Range range)
{
    const std::size_t into = m_text.findKeyword(range, {"INTO"});
    if (into == range.last)
        return;
    Range list{range.first + 1, into};
    if (m_reader.isPunct(list.first, "(") && m_reader.closing(list.first) + 1 == into)
        list = {list.first + 1, into - 1};
    std::vector<Target> values;
    for (const Range &value : m_text.splitList(list))
        values.push_back(m_columns.expression(value));
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
        if (t.kind == TokenKind::Word && clauses.count(t.upper()))
            clause = t.upper();
        if (!m_text.hostVariableAt(i) || m_consumed[i - block.bodyBegin]) {
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
            const Target found = m_columns.predicateColumn(i);
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
                              + (first.text().empty() ? std::string("nothing")
                                                      : quoted(first.text()))
                              + ".");
        statement.detail = "SQL";
        return;
    }
    const std::string verb(first.upper());
    statement.detail = "SQL " + verb;
    const Range all{block.bodyBegin, block.bodyEnd};
    if (verb == "INCLUDE") {
        const LexToken &member = m_reader.token(block.bodyBegin + 1);
        if (member.kind == TokenKind::Word || member.kind == TokenKind::Literal) {
            Operand op;
            op.role = OperandRole::Source;
            op.kind = OperandKind::Literal;
            op.text = member.kind == TokenKind::Literal ? member.text() : member.upper();
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
    m_columns.readTables(all);
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
