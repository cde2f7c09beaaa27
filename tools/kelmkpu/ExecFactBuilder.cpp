#include "ExecFactBuilder.h"

#include "AnalysisData.h"

#include <algorithm>
#include <cctype>

namespace kelmkpu {

namespace {

/// Where FORMATTIME puts the year in the character forms: first character and count, without
/// and with DATESEP (the year-last forms move behind two separators).
struct YearPlace
{
    const char *option;
    std::uint32_t first;
    std::uint32_t firstWithSeparator;
    std::uint32_t count;
};

constexpr YearPlace formatTimeYears[] = {
    {"YYMMDD", 1, 1, 2},
    {"YYDDMM", 1, 1, 2},
    {"YYDDD", 1, 1, 2},
    {"YYYYMMDD", 1, 1, 4},
    {"YYYYDDMM", 1, 1, 4},
    {"YYYYDDD", 1, 1, 4},
    {"DDMMYY", 5, 7, 2},
    {"MMDDYY", 5, 7, 2},
    {"DDMMYYYY", 5, 7, 4},
    {"MMDDYYYY", 5, 7, 4},
};

/// "TABLE.COLUMN": a plain column of a known table (expressions and bare names are not).
bool isColumnReference(const std::string &text)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size())
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '#'
               || c == '@' || c == '$' || c == '-';
    });
}

std::string literalName(const std::string &text)
{
    std::string name = text;
    if (name.size() >= 2 && (name.front() == '\'' || name.front() == '"'))
        name = name.substr(1, name.size() - 2);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    for (char &c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

bool startsWith(const std::string &text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::uint32_t ExecFactBuilder::resource(const std::string &key, const Operand &like)
{
    const DataItem &shape = m_model.items[like.item];
    const auto found = m_resources.find(key);
    if (found != m_resources.end()) {
        DataItem &item = m_model.items[found->second];
        StorageArea &area = m_model.areas[item.area];
        item.length = std::max(item.length, shape.length);
        area.size = std::max(area.size, item.length);
        return found->second;
    }
    StorageArea area;
    area.name = key;
    area.size = shape.length;
    m_model.areas.push_back(area);
    DataItem item;
    item.name = key;
    item.declared = like.pos;
    item.area = static_cast<std::uint32_t>(m_model.areas.size() - 1);
    item.length = shape.length;
    item.category = shape.category;
    item.digits = shape.digits;
    item.scale = shape.scale;
    item.leadingSignByte = shape.leadingSignByte;
    item.picture = shape.picture;
    item.elementary = false;
    item.synthetic = true;
    m_model.items.push_back(std::move(item));
    const auto index = static_cast<std::uint32_t>(m_model.items.size() - 1);
    m_resources.emplace(key, index);
    return index;
}

void ExecFactBuilder::yearAt(const cobol::Statement &statement,
                             const cobol::Operand &in,
                             std::uint32_t first,
                             std::uint32_t count,
                             const std::string &text)
{
    Operand operand = m_operand(in);
    if (!operand.isItem() || operand.variableRefMod)
        return;
    Statement fact;
    fact.kind = StatementKind::YearUse;
    fact.pos = m_pos(statement.place);
    fact.text = text;
    if (first > 0) {
        // Inside a reference modification the year sits that far into the modified bytes.
        const std::uint32_t base = operand.refStart > 0 ? operand.refStart : 1;
        operand.refStart = base + first - 1;
        operand.refLength = count;
    }
    fact.yearDigits = first > 0 ? count : 0xFFFFu;
    fact.operands.push_back(operand);
    m_model.statements.push_back(std::move(fact));
}

void ExecFactBuilder::nonYear(const cobol::Statement &statement,
                              const cobol::Operand &in,
                              const std::string &text)
{
    const Operand operand = m_operand(in);
    if (!operand.isItem())
        return;
    Statement fact;
    fact.kind = StatementKind::NonYearUse;
    fact.pos = m_pos(statement.place);
    fact.text = text;
    fact.operands.push_back(operand);
    m_model.statements.push_back(std::move(fact));
}

void ExecFactBuilder::move(const cobol::Statement &statement,
                           const Operand &from,
                           const Operand &to,
                           const std::string &text)
{
    if (!from.isItem() || !to.isItem() || from.item == to.item)
        return;
    Statement fact;
    fact.kind = StatementKind::Move;
    fact.pos = m_pos(statement.place);
    fact.text = text;
    fact.operands = {from, to};
    m_model.statements.push_back(std::move(fact));
}

void ExecFactBuilder::compare(const cobol::Statement &statement,
                              const Operand &a,
                              const Operand &b,
                              const std::string &text)
{
    if (!a.isItem() || !b.isItem() || a.item == b.item)
        return;
    Statement fact;
    fact.kind = StatementKind::Compare;
    fact.pos = m_pos(statement.place);
    fact.text = text;
    fact.operands = {a, b};
    m_model.statements.push_back(std::move(fact));
}

void ExecFactBuilder::note(const cobol::Statement &statement, const std::string &text)
{
    m_model.notes.push_back({m_pos(statement.place), text});
}

void ExecFactBuilder::add(const cobol::Statement &statement)
{
    if (startsWith(statement.detail, "CICS "))
        cics(statement, statement.detail.substr(5));
    else if (startsWith(statement.detail, "SQL "))
        sql(statement);
    else if (startsWith(statement.detail, "DLI "))
        dli(statement);
}

void ExecFactBuilder::formatTime(const cobol::Statement &statement)
{
    const bool separator = m_hasWord(statement, "DATESEP");
    for (const cobol::Operand &op : statement.operands) {
        if (op.role != cobol::OperandRole::Target || op.kind != cobol::OperandKind::Item)
            continue;
        const std::string text = "EXEC CICS FORMATTIME " + op.option + "(" + op.text + ")";
        if (op.option == "YEAR") {
            yearAt(statement, op, 0, 0, text);
            continue;
        }
        if (op.option == "DAYOFMONTH" || op.option == "MONTHOFYEAR" || op.option == "DAYOFWEEK") {
            nonYear(statement, op, text);
            continue;
        }
        if (op.option == "DATE" || op.option == "FULLDATE") {
            note(statement,
                 text
                     + ": the year's place depends on the installation's date format; "
                       "no evidence");
            continue;
        }
        for (const YearPlace &place : formatTimeYears)
            if (op.option == place.option)
                yearAt(statement,
                       op,
                       separator ? place.firstWithSeparator : place.first,
                       place.count,
                       text + (separator ? " with DATESEP" : ""));
    }
}

void ExecFactBuilder::resourceFlows(const cobol::Statement &statement, const std::string &key)
{
    for (const cobol::Operand &op : statement.operands) {
        if (op.kind != cobol::OperandKind::Item || (op.option != "INTO" && op.option != "FROM"))
            continue;
        const Operand operand = m_operand(op);
        if (!operand.isItem())
            continue;
        Operand storage;
        storage.item = resource(key, operand);
        storage.pos = operand.pos;
        if (op.option == "INTO")
            move(statement,
                 storage,
                 operand,
                 statement.verb + " " + statement.detail + ": " + key + " INTO " + op.text);
        else
            move(statement,
                 operand,
                 storage,
                 statement.verb + " " + statement.detail + ": FROM " + op.text + " into " + key);
    }
}

void ExecFactBuilder::cics(const cobol::Statement &statement, const std::string &command)
{
    if (command == "FORMATTIME") {
        formatTime(statement);
        return;
    }
    auto literal = [&](std::initializer_list<std::string_view> options) {
        for (const cobol::Operand &op : statement.operands)
            if (op.kind == cobol::OperandKind::Literal
                && std::find(options.begin(), options.end(), op.option) != options.end())
                return literalName(op.text);
        return std::string();
    };
    std::string key;
    if (command == "READ" || command == "READNEXT" || command == "READPREV" || command == "WRITE"
        || command == "REWRITE") {
        if (const std::string file = literal({"FILE", "DATASET"}); !file.empty())
            key = "CICS file " + file;
    } else if (command == "READQ TS" || command == "WRITEQ TS") {
        if (const std::string queue = literal({"QUEUE", "QNAME"}); !queue.empty())
            key = "CICS TS queue " + queue;
    } else if (command == "READQ TD" || command == "WRITEQ TD") {
        if (const std::string queue = literal({"QUEUE"}); !queue.empty())
            key = "CICS TD queue " + queue;
    } else if (command == "SEND MAP" || command == "RECEIVE MAP") {
        if (const std::string map = literal({"MAP"}); !map.empty())
            key = "CICS map " + literal({"MAPSET"}) + " " + map;
    } else if (command == "GET CONTAINER" || command == "PUT CONTAINER") {
        if (const std::string container = literal({"CONTAINER"}); !container.empty())
            key = "CICS container " + literal({"CHANNEL"}) + " " + container;
    } else if (command == "RETURN") {
        // A pseudo-conversational return: the commarea comes back as the next task's
        // DFHCOMMAREA when the transaction is the program's own.
        const cobol::Operand *transid = nullptr;
        const cobol::Operand *commarea = nullptr;
        for (const cobol::Operand &op : statement.operands) {
            if (op.option == "TRANSID" && op.kind == cobol::OperandKind::Item
                && op.text == "EIBTRNID")
                transid = &op;
            if (op.option == "COMMAREA" && op.kind == cobol::OperandKind::Item)
                commarea = &op;
        }
        if (transid && commarea)
            for (const cobol::DataItem &item : m_data.items)
                if (item.name == "DFHCOMMAREA" && item.level == 1
                    && item.area == cobol::StorageArea::Linkage) {
                    Operand to;
                    to.item = item.id - 1;
                    to.pos = m_pos(commarea->place);
                    move(statement,
                         m_operand(*commarea),
                         to,
                         "EXEC CICS RETURN TRANSID(EIBTRNID) COMMAREA(" + commarea->text
                             + "): the next task's DFHCOMMAREA");
                }
        return;
    } else if (command == "LINK" || command == "XCTL") {
        for (const cobol::Operand &op : statement.operands)
            if (op.option == "COMMAREA")
                note(statement,
                     "EXEC CICS " + command + " PROGRAM(" + literal({"PROGRAM"}) + ") COMMAREA("
                         + op.text + "): data passed to it leaves the analysis");
        return;
    }
    if (!key.empty())
        resourceFlows(statement, key);
}

void ExecFactBuilder::sql(const cobol::Statement &statement)
{
    auto evidence = [&](const cobol::Operand &op, const std::string &type) {
        const std::string text = "EXEC " + statement.detail + ": " + op.text + " with "
                                 + (op.column.empty() ? type : op.column + " (" + type + ")");
        if (type == "DATE USA" || type == "DATE EUR")
            yearAt(statement, op, 7, 4, text);
        else if (type == "YEAR")
            yearAt(statement, op, 0, 0, text);
        else if (type == "DATE LOCAL")
            note(statement, text + ": the year's place depends on the installation's date format");
        else if (startsWith(type, "DATE") || startsWith(type, "TIMESTAMP"))
            yearAt(statement, op, 1, 4, text);
    };
    for (const cobol::Operand &op : statement.operands) {
        if (op.kind != cobol::OperandKind::Item || op.item == 0 || op.option == "INDICATOR")
            continue;
        evidence(op, op.sqlType);
        const Operand operand = m_operand(op);
        if (!operand.isItem())
            continue;
        if (op.role == cobol::OperandRole::Column) {
            m_columns.emplace(op.column, operand.item);
            continue;
        }
        if (op.role == cobol::OperandRole::Target && startsWith(op.column, ":")) {
            // SET :A = :B, SELECT :B INTO :A: one host variable into another.
            std::string name = op.column.substr(1);
            if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
                name = name.substr(dot + 1);
            for (const cobol::Operand &source : statement.operands)
                if (source.role == cobol::OperandRole::Source && source.text == name)
                    move(statement,
                         m_operand(source),
                         operand,
                         "EXEC " + statement.detail + ": " + name + " INTO " + op.text);
            continue;
        }
        if (!isColumnReference(op.column) || op.role == cobol::OperandRole::Argument)
            continue;
        Operand column;
        const auto declared = m_columns.find(op.column);
        column.item = declared != m_columns.end() ? declared->second
                                                  : resource("SQL column " + op.column, operand);
        column.pos = operand.pos;
        const std::string prefix = "EXEC " + statement.detail + ": ";
        if (op.role == cobol::OperandRole::Target)
            move(statement, column, operand, prefix + op.column + " INTO " + op.text);
        else if (op.option == "WHERE" || op.option == "HAVING" || op.option == "ON")
            compare(statement, column, operand, prefix + op.column + " compared with " + op.text);
        else
            move(statement, operand, column, prefix + op.text + " into " + op.column);
    }
}

void ExecFactBuilder::dli(const cobol::Statement &statement)
{
    for (const cobol::Operand &op : statement.operands) {
        if (op.kind != cobol::OperandKind::Item || op.item == 0 || op.column.empty())
            continue;
        const Operand operand = m_operand(op);
        if (!operand.isItem())
            continue;
        const std::string prefix = "EXEC " + statement.detail + ": ";
        if (op.option == "WHERE") {
            Operand field;
            field.item = resource("DLI field " + op.column, operand);
            field.pos = operand.pos;
            compare(statement, field, operand, prefix + op.column + " compared with " + op.text);
            continue;
        }
        Operand segment;
        segment.item = resource("DLI segment " + op.column, operand);
        segment.pos = operand.pos;
        if (op.option == "INTO")
            move(statement, segment, operand, prefix + "segment " + op.column + " INTO " + op.text);
        else if (op.option == "FROM")
            move(statement,
                 operand,
                 segment,
                 prefix + "FROM " + op.text + " into segment " + op.column);
    }
}

void ExecFactBuilder::finish(const std::function<bool(std::uint32_t)> &used)
{
    // EIBDATE is 0CYYDDD packed: its second byte holds the year's two digits. It is evidence
    // only where the program uses it, so that an unused execute interface block stays silent.
    for (const cobol::DataItem &item : m_data.items) {
        const cobol::DataItem *parent = m_data.item(item.parent);
        if (item.name != "EIBDATE" || !parent || parent->name != "DFHEIBLK"
            || item.usage != cobol::Usage::Packed || item.digits != 7)
            continue;
        if (!used(item.id))
            continue;
        Statement fact;
        fact.kind = StatementKind::YearUse;
        fact.pos = m_pos(item.place);
        fact.text = "EIBDATE holds 0CYYDDD: the year is its third and fourth digits";
        Operand operand;
        operand.item = item.id - 1;
        operand.refStart = 2;
        operand.refLength = 1;
        operand.pos = fact.pos;
        fact.yearDigits = 1;
        fact.operands.push_back(operand);
        m_model.statements.push_back(std::move(fact));
    }
}

} // namespace kelmkpu
