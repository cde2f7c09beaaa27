#include "ProcedureParser.h"

#include "TokenCursor.h"
#include "WordTable.h"

namespace cobol {

using namespace std::string_view_literals;

namespace {

/// What a word is to the procedure parser (flags of `procedureWords`).
constexpr std::uint8_t verbWord = 1;     ///< starts a statement
constexpr std::uint8_t reservedWord = 2; ///< a phrase word, never a data name here

const auto &verbList()
{
    static constexpr std::string_view list[]
        = {"ACCEPT",   "ADD",      "ALTER",   "CALL",   "CANCEL",   "CLOSE",      "COMPUTE",
           "CONTINUE", "DELETE",   "DISPLAY", "DIVIDE", "ENTRY",    "EVALUATE",   "EXEC",
           "EXIT",     "GENERATE", "GO",      "GOBACK", "IF",       "INITIALIZE", "INITIATE",
           "INSPECT",  "INVOKE",   "MERGE",   "MOVE",   "MULTIPLY", "NEXT",       "OPEN",
           "PERFORM",  "READ",     "RELEASE", "RETURN", "REWRITE",  "SEARCH",     "SET",
           "SORT",     "START",    "STOP",    "STRING", "SUBTRACT", "SUPPRESS",   "TERMINATE",
           "UNLOCK",   "UNSTRING", "USE",     "WRITE",  "ELSE",     "WHEN",       "COPY",
           "REPLACE"};
    return list;
}

const auto &reservedList()
{
    static constexpr std::string_view list[]
        = {"TO",         "FROM",          "BY",         "INTO",      "GIVING",
           "REMAINDER",  "ROUNDED",       "ON",         "NOT",       "SIZE",
           "ERROR",      "ELSE",          "WHEN",       "THEN",      "AND",
           "OR",         "USING",         "RETURNING",  "DELIMITED", "POINTER",
           "TALLYING",   "COUNT",         "DELIMITER",  "WITH",      "AT",
           "END",        "INVALID",       "KEY",        "OVERFLOW",  "EXCEPTION",
           "ALSO",       "THRU",          "THROUGH",    "OTHER",     "TRUE",
           "FALSE",      "ANY",           "UNTIL",      "VARYING",   "AFTER",
           "BEFORE",     "TIMES",         "TEST",       "IS",        "EQUAL",
           "EQUALS",     "GREATER",       "LESS",       "THAN",      "NEXT",
           "RECORD",     "REFERENCE",     "CONTENT",    "VALUE",     "OMITTED",
           "CORR",       "CORRESPONDING", "ALL",        "UPON",      "FOREVER",
           "REPLACING",  "FILLER",        "DATE",       "DAY",       "DAY-OF-WEEK",
           "TIME",       "NUMERIC",       "ALPHABETIC", "POSITIVE",  "NEGATIVE",
           "SECTION",    "DIVISION",      "PROGRAM",    "RUN",       "PARAGRAPH",
           "AS",         "LENGTH",        "ADDRESS",    "OF",        "IN",
           "INITIAL",    "DEPENDING",     "DEFAULT",    "NO",        "ADVANCING",
           "LINE",       "LINES",         "PAGE",       "LOCK",      "INPUT",
           "OUTPUT",     "I-O",           "EXTEND",     "REVERSED",  "REWIND",
           "ASCENDING",  "DESCENDING",    "COLLATING",  "SEQUENCE",  "PROCEDURE",
           "OUTPUT",     "FUNCTION",      "EXCEPTION",  "RAISING",   "SENTENCE",
           "SEARCH",     "CHARACTERS",    "LEADING",    "FIRST",     "CONVERTING",
           "INITIALIZED"};
    return list;
}

/// The verbs and the reserved words in one table: a word is looked up once for both.
const WordTable<std::uint8_t> &procedureWords()
{
    static const WordTable<std::uint8_t> words = [] {
        WordTable<std::uint8_t> table;
        for (std::string_view word : verbList())
            table.insert(word) |= verbWord;
        for (std::string_view word : reservedList())
            table.insert(word) |= reservedWord;
        return table;
    }();
    return words;
}

/// The flags of an upper-case word: a scope terminator (END-x) is a verb too.
std::uint8_t procedureFlags(std::string_view upper)
{
    const std::uint8_t *flags = procedureWords().find(upper);
    return static_cast<std::uint8_t>((flags ? *flags : 0)
                                     | (upper.starts_with("END-"sv) ? verbWord : 0));
}

} // namespace

bool ProcedureParser::isVerb(const LexToken &token) const
{
    return token.kind == TokenKind::Word && (procedureFlags(token.upper()) & verbWord);
}

bool ProcedureParser::isReserved(const LexToken &token) const
{
    if (token.kind != TokenKind::Word)
        return true;
    if (m_symbols.contains(token.upper()))
        return false;
    return procedureFlags(token.upper()) != 0;
}

Statement &ProcedureParser::fact(StatementKind kind,
                                 const LexToken &verb,
                                 std::size_t firstToken,
                                 std::uint32_t group)
{
    const auto id = static_cast<std::uint32_t>(m_data.statements.size() + 1);
    Statement &stmt = m_data.statements.emplace_back(); // filled where it stands: no moves
    stmt.id = id;
    stmt.kind = kind;
    stmt.verb = verb.upper();
    stmt.group = group ? group : stmt.id;
    stmt.paragraph = m_paragraph ? m_paragraph : m_section ? m_section : m_division;
    stmt.place = verb.place;
    stmt.firstToken = static_cast<std::uint32_t>(firstToken + 1);
    stmt.lastToken = stmt.firstToken;
    return stmt;
}

void ProcedureParser::finish(Statement &stmt, const TokenCursor &cursor)
{
    const std::size_t last = cursor.position() > 0 ? cursor.position() : 1;
    stmt.lastToken = std::max(stmt.firstToken, static_cast<std::uint32_t>(last));
}

void ProcedureParser::parse(TokenCursor &cursor)
{
    for (const ProgramNode &node : m_data.nodes)
        if (node.kind == ProgramNode::Kind::Division && node.name == "PROCEDURE")
            m_division = node.id;
    cursor.skipSentence(); // PROCEDURE DIVISION [USING ...] [RETURNING ...].
    // Room for a fact every few tokens, more than programs have: growing the vector would move
    // every statement, and room never used is never touched.
    const std::size_t left = cursor.end() > cursor.position() ? cursor.end() - cursor.position()
                                                              : 0;
    m_data.statements.reserve(m_data.statements.size() + left / statementTokens + 16);
    bool sentenceStart = true;
    while (!cursor.atEnd()) {
        const LexToken &t = cursor.peek();
        if (cursor.isPeriod()) {
            cursor.next();
            m_contexts.clear();
            sentenceStart = true;
            continue;
        }
        // A scope terminator cannot start a sentence: END-OF-JOB. is a paragraph header.
        if (sentenceStart && t.kind != TokenKind::Literal
            && (!isVerb(t) || t.upper().rfind("END-", 0) == 0)
            && (cursor.isPeriod(1) || cursor.is("SECTION", 1))) {
            paragraphOrSection(cursor);
            continue;
        }
        sentenceStart = false;
        if (t.is("DECLARATIVES") || (t.is("END") && cursor.is("DECLARATIVES", 1))) {
            cursor.skipSentence();
            sentenceStart = true;
            continue;
        }
        if (t.is("END-EVALUATE") || t.is("END-SEARCH")) {
            if (!m_contexts.empty())
                m_contexts.pop_back();
            cursor.next();
            continue;
        }
        if (t.is("WHEN")) {
            when(cursor);
            continue;
        }
        if (isVerb(t) && !t.is("ELSE") && t.upper().rfind("END-", 0) != 0) {
            const std::size_t before = cursor.position();
            statement(cursor);
            if (cursor.position() == before)
                cursor.next();
            continue;
        }
        cursor.next(); // phrase words (ON SIZE ERROR, AT END, ELSE, END-IF ...) and the unknown
    }
}

void ProcedureParser::paragraphOrSection(TokenCursor &cursor)
{
    const std::size_t first = cursor.position();
    const LexToken &name = cursor.next();
    const bool section = cursor.accept("SECTION");
    while (!cursor.atEnd() && !cursor.isPeriod())
        cursor.next(); // section priority numbers
    cursor.next();
    ProgramNode node;
    node.id = static_cast<std::uint32_t>(m_data.nodes.size() + 1);
    node.kind = section ? ProgramNode::Kind::Section : ProgramNode::Kind::Paragraph;
    node.name = name.upper();
    node.parent = section ? m_division : (m_section ? m_section : m_division);
    node.place = name.place;
    node.firstToken = static_cast<std::uint32_t>(first + 1);
    m_data.nodes.push_back(node);
    if (section) {
        m_section = node.id;
        m_paragraph = 0;
    } else {
        m_paragraph = node.id;
    }
}

void ProcedureParser::when(TokenCursor &cursor)
{
    const LexToken &verb = cursor.next();
    const std::size_t first = cursor.position() - 1;
    if (m_contexts.empty())
        return;
    Context &ctx = m_contexts.back();
    if (ctx.kind == Context::Kind::Search) {
        std::uint32_t group = 0;
        condition(cursor, StatementContext::SearchWhen, verb, first, group);
        return;
    }
    if (cursor.accept("OTHER"))
        return;
    std::uint32_t group = 0;
    for (std::size_t s = 0; s < ctx.subjects.size(); ++s) {
        if (s > 0 && !cursor.accept("ALSO"))
            break;
        if (cursor.accept("ANY"))
            continue;
        if (ctx.subjects[s].empty()) {
            condition(cursor, StatementContext::Evaluate, verb, first, group);
            continue;
        }
        cursor.accept("NOT");
        std::vector<Operand> object, extra;
        bool nonLinear = false;
        expression(cursor, 1, true, object, extra, nonLinear);
        if (cursor.accept("THRU") || cursor.accept("THROUGH")) {
            std::vector<Operand> upper;
            expression(cursor, 1, true, upper, extra, nonLinear);
            compare(ctx.subjects[s],
                    ">=",
                    object,
                    StatementContext::Evaluate,
                    verb,
                    first,
                    group,
                    cursor,
                    {});
            compare(ctx.subjects[s],
                    "<=",
                    upper,
                    StatementContext::Evaluate,
                    verb,
                    first,
                    group,
                    cursor,
                    extra);
        } else {
            compare(ctx.subjects[s],
                    "=",
                    object,
                    StatementContext::Evaluate,
                    verb,
                    first,
                    group,
                    cursor,
                    extra);
        }
    }
}

void ProcedureParser::perform(TokenCursor &cursor, const LexToken &verb, std::size_t first)
{
    std::vector<Operand> extra;
    const LexToken &t = cursor.peek();
    const bool isProcedure = t.kind == TokenKind::Word && !isReserved(t) && !cursor.is("TIMES", 1)
                             && !m_symbols.contains(t.upper());
    if (isProcedure) {
        Statement &stmt = fact(StatementKind::Perform, verb, first);
        Operand proc;
        proc.role = OperandRole::Procedure;
        proc.kind = OperandKind::Literal;
        proc.text = cursor.next().upper();
        proc.place = t.place;
        if (cursor.is("OF") || cursor.is("IN")) {
            cursor.next();
            proc.text += " OF " + std::string(cursor.next().upper());
        }
        stmt.operands.push_back(proc);
        if (cursor.accept("THRU") || cursor.accept("THROUGH")) {
            proc.place = cursor.peek().place;
            proc.text = cursor.next().upper();
            stmt.operands.push_back(proc);
        }
        finish(stmt, cursor);
    }
    if (cursor.accept("WITH") || cursor.is("TEST")) {
        cursor.accept("TEST");
        if (!cursor.accept("BEFORE"))
            cursor.accept("AFTER");
    }
    if (cursor.accept("FOREVER"))
        return;
    if (cursor.is("TIMES", 1)) {
        Statement &stmt = fact(StatementKind::PerformTimes, verb, first);
        Operand count;
        if (operand(cursor, count, extra)) {
            count.role = OperandRole::Counter;
            stmt.operands.push_back(std::move(count));
        }
        cursor.accept("TIMES");
        finish(stmt, cursor);
        return;
    }
    if (cursor.accept("UNTIL")) {
        std::uint32_t group = 0;
        condition(cursor, StatementContext::PerformUntil, verb, first, group);
        return;
    }
    if (cursor.is("VARYING")) {
        while (cursor.accept("VARYING") || cursor.accept("AFTER")) {
            Statement &stmt = fact(StatementKind::PerformVarying, verb, first);
            const std::uint32_t id = stmt.id;
            Operand counter;
            if (operand(cursor, counter, extra)) {
                counter.role = OperandRole::Counter;
                m_data.statements[id - 1].operands.push_back(std::move(counter));
            }
            if (cursor.accept("FROM")) {
                auto from = operandList(cursor, OperandRole::Source, 0, extra);
                for (Operand &op : from)
                    m_data.statements[id - 1].operands.push_back(std::move(op));
            }
            if (cursor.accept("BY")) {
                auto by = operandList(cursor, OperandRole::Source, 0, extra);
                for (Operand &op : by)
                    m_data.statements[id - 1].operands.push_back(std::move(op));
            }
            finish(m_data.statements[id - 1], cursor);
            if (cursor.accept("UNTIL")) {
                std::uint32_t group = 0;
                condition(cursor, StatementContext::PerformUntil, verb, first, group);
            }
        }
    }
}

void ProcedureParser::execBlock(TokenCursor &cursor, const LexToken &verb, std::size_t first)
{
    const ExecBlock block = ExecBlock::find(cursor.tokens(), first, cursor.end());
    Statement parsed = m_exec.parse(cursor.tokens(), block);
    Statement &stmt = fact(StatementKind::Exec, verb, first);
    stmt.detail = std::move(parsed.detail);
    stmt.operands = std::move(parsed.operands);
    cursor.setPosition(block.end);
    finish(stmt, cursor);
}

void ProcedureParser::dataDivisionExec(const std::vector<LexToken> &tokens,
                                       const std::vector<DataDivisionExec> &blocks)
{
    for (const DataDivisionExec &entry : blocks) {
        const ExecBlock block = ExecBlock::find(tokens, entry.begin, tokens.size());
        Statement parsed = m_exec.parse(tokens, block, entry.itemsBefore);
        parsed.id = static_cast<std::uint32_t>(m_data.statements.size() + 1);
        parsed.group = parsed.id;
        parsed.paragraph = entry.node;
        parsed.firstToken = static_cast<std::uint32_t>(block.begin + 1);
        parsed.lastToken = static_cast<std::uint32_t>(std::max(block.end, block.begin + 1));
        m_data.statements.push_back(std::move(parsed));
    }
}

void ProcedureParser::statement(TokenCursor &cursor)
{
    const std::size_t first = cursor.position();
    const LexToken &verb = cursor.next();
    const std::string_view v = verb.upper();
    std::vector<Operand> extra;
    auto push = [](Statement &stmt, std::vector<Operand> ops) {
        if (stmt.operands.empty()) {
            stmt.operands = std::move(ops);
            return;
        }
        stmt.operands.reserve(stmt.operands.size() + ops.size());
        for (Operand &op : ops)
            stmt.operands.push_back(std::move(op));
    };
    auto addExtra = [&](std::uint32_t id) {
        for (Operand &op : extra)
            m_data.statements[id - 1].operands.push_back(std::move(op));
        extra.clear();
    };
    auto done = [&](std::uint32_t id) {
        addExtra(id);
        finish(m_data.statements[id - 1], cursor);
    };

    if (v == "MOVE") {
        const bool corr = cursor.accept("CORRESPONDING") || cursor.accept("CORR");
        const std::uint32_t id
            = fact(corr ? StatementKind::MoveCorresponding : StatementKind::Move, verb, first).id;
        Operand source;
        if (operand(cursor, source, extra)) {
            source.role = OperandRole::Source;
            m_data.statements[id - 1].operands.push_back(std::move(source));
        }
        if (cursor.accept("TO"))
            operandList(cursor, OperandRole::Target, 0, extra, m_data.statements[id - 1].operands);
        done(id);
    } else if (v == "COMPUTE") {
        const std::uint32_t id = fact(StatementKind::Compute, verb, first).id;
        auto targets = operandList(cursor, OperandRole::Target, 1, extra);
        if (!cursor.accept("EQUAL"))
            if (cursor.peek().text() == "="sv)
                cursor.next();
        std::vector<Operand> terms;
        bool nonLinear = false;
        expression(cursor, 1, true, terms, extra, nonLinear);
        Statement &stmt = m_data.statements[id - 1];
        stmt.nonLinear = nonLinear;
        push(stmt, std::move(targets));
        for (Operand &term : terms)
            term.role = OperandRole::Source;
        push(stmt, std::move(terms));
        done(id);
    } else if (v == "ADD" || v == "SUBTRACT") {
        const bool add = v == "ADD";
        const bool corr = cursor.accept("CORRESPONDING") || cursor.accept("CORR");
        const StatementKind kind = add ? (corr ? StatementKind::AddCorresponding
                                               : StatementKind::Add)
                                       : (corr ? StatementKind::SubtractCorresponding
                                               : StatementKind::Subtract);
        const std::uint32_t id = fact(kind, verb, first).id;
        auto sources = operandList(cursor, OperandRole::Source, add ? 1 : -1, extra);
        std::vector<Operand> into;
        if (cursor.accept(add ? "TO" : "FROM"))
            into = operandList(cursor, OperandRole::Target, 1, extra);
        Statement &stmt = m_data.statements[id - 1];
        if (cursor.accept("GIVING")) {
            for (Operand &op : into)
                op.role = OperandRole::Source;
            auto giving = operandList(cursor, OperandRole::Target, 1, extra);
            push(stmt, std::move(sources));
            push(stmt, std::move(into));
            push(stmt, std::move(giving));
        } else {
            push(stmt, std::move(sources));
            push(stmt, std::move(into));
        }
        done(id);
    } else if (v == "MULTIPLY" || v == "DIVIDE") {
        const std::uint32_t id = fact(v == "MULTIPLY" ? StatementKind::Multiply
                                                      : StatementKind::Divide,
                                      verb,
                                      first)
                                     .id;
        m_data.statements[id - 1].nonLinear = true;
        auto a = operandList(cursor, OperandRole::Source, 0, extra);
        std::vector<Operand> b;
        if (cursor.accept("BY") || cursor.accept("INTO"))
            b = operandList(cursor, OperandRole::Target, 0, extra);
        Statement &stmt = m_data.statements[id - 1];
        push(stmt, std::move(a));
        if (cursor.accept("GIVING")) {
            for (Operand &op : b)
                op.role = OperandRole::Source;
            push(stmt, std::move(b));
            push(stmt, operandList(cursor, OperandRole::Target, 0, extra));
        } else {
            push(stmt, std::move(b));
        }
        if (cursor.accept("REMAINDER"))
            push(m_data.statements[id - 1], operandList(cursor, OperandRole::Remainder, 0, extra));
        done(id);
    } else if (v == "IF") {
        std::uint32_t group = 0;
        condition(cursor, StatementContext::If, verb, first, group);
        cursor.accept("THEN");
    } else if (v == "EVALUATE") {
        Context ctx;
        do {
            if (cursor.accept("TRUE") || cursor.accept("FALSE")) {
                ctx.subjects.emplace_back();
                continue;
            }
            std::vector<Operand> subject;
            bool nonLinear = false;
            expression(cursor, 1, true, subject, extra, nonLinear);
            ctx.subjects.push_back(subject);
        } while (cursor.accept("ALSO"));
        extra.clear();
        m_contexts.push_back(std::move(ctx));
    } else if (v == "SEARCH") {
        cursor.accept("ALL");
        Operand table;
        operand(cursor, table, extra);
        if (cursor.accept("VARYING"))
            operand(cursor, table, extra);
        Context ctx;
        ctx.kind = Context::Kind::Search;
        m_contexts.push_back(std::move(ctx));
    } else if (v == "PERFORM") {
        perform(cursor, verb, first);
    } else if (v == "ACCEPT") {
        const std::uint32_t id = fact(StatementKind::Accept, verb, first).id;
        push(m_data.statements[id - 1], operandList(cursor, OperandRole::Target, 0, extra));
        if (cursor.accept("FROM")) {
            std::string from = std::string(cursor.next().upper());
            if ((from == "DATE" && cursor.is("YYYYMMDD"))
                || (from == "DAY" && cursor.is("YYYYDDD")))
                from += "-" + std::string(cursor.next().upper());
            m_data.statements[id - 1].detail = from;
        }
        done(id);
    } else if (v == "INITIALIZE") {
        const std::uint32_t id = fact(StatementKind::Initialize, verb, first).id;
        push(m_data.statements[id - 1], operandList(cursor, OperandRole::Target, 0, extra));
        done(id);
    } else if (v == "CALL") {
        const std::uint32_t id = fact(StatementKind::Call, verb, first).id;
        Operand program;
        if (operand(cursor, program, extra)) {
            std::string name = program.text;
            if (program.kind == OperandKind::Literal && name.size() >= 2)
                name = name.substr(1, name.size() - 2);
            m_data.statements[id - 1].detail = name;
        }
        if (cursor.accept("USING")) {
            for (;;) {
                if (cursor.accept("BY")) {
                    if (!cursor.accept("REFERENCE") && !cursor.accept("CONTENT"))
                        cursor.accept("VALUE");
                    continue;
                }
                if (cursor.accept("OMITTED"))
                    continue;
                Operand arg;
                if (!operand(cursor, arg, extra))
                    break;
                arg.role = OperandRole::Argument;
                m_data.statements[id - 1].operands.push_back(std::move(arg));
            }
        }
        if (cursor.accept("RETURNING") || cursor.accept("GIVING"))
            push(m_data.statements[id - 1], operandList(cursor, OperandRole::Target, 0, extra));
        done(id);
    } else if (v == "READ" || v == "RETURN") {
        const LexToken &file = cursor.next();
        const std::uint32_t id = fact(StatementKind::Read, verb, first).id;
        while (cursor.accept("NEXT") || cursor.accept("PREVIOUS") || cursor.accept("RECORD")) {
        }
        if (cursor.accept("INTO")) {
            const auto record = m_fileRecords.find(std::string(file.upper()));
            if (record != m_fileRecords.end()) {
                Operand source;
                source.item = record->second;
                source.text = m_data.items[record->second - 1].name;
                source.place = file.place;
                m_data.statements[id - 1].operands.push_back(std::move(source));
            }
            push(m_data.statements[id - 1], operandList(cursor, OperandRole::Target, 0, extra));
        }
        done(id);
    } else if (v == "WRITE" || v == "REWRITE" || v == "RELEASE") {
        const std::uint32_t id = fact(StatementKind::Write, verb, first).id;
        Operand record;
        if (operand(cursor, record, extra)) {
            record.role = OperandRole::Target;
            m_data.statements[id - 1].operands.push_back(std::move(record));
        }
        if (cursor.accept("FROM"))
            push(m_data.statements[id - 1], operandList(cursor, OperandRole::Source, 0, extra));
        done(id);
    } else if (v == "STRING" || v == "UNSTRING") {
        const std::uint32_t id
            = fact(v == "STRING" ? StatementKind::String : StatementKind::Unstring, verb, first).id;
        OperandRole role = OperandRole::Source;
        for (int guard = 0; guard < 10000 && !cursor.atEnd() && !cursor.isPeriod(); ++guard) {
            if (cursor.accept("INTO")) {
                role = OperandRole::Target;
                continue;
            }
            if (cursor.accept("DELIMITED") || cursor.accept("DELIMITER") || cursor.accept("COUNT")
                || cursor.accept("POINTER") || cursor.accept("TALLYING")) {
                cursor.accept("BY");
                cursor.accept("IN");
                cursor.accept("ALL");
                Operand skipped;
                operand(cursor, skipped, extra);
                continue;
            }
            if (cursor.accept("WITH") || cursor.accept("OR") || cursor.accept("SIZE"))
                continue;
            Operand op;
            if (!operand(cursor, op, extra))
                break;
            op.role = role;
            m_data.statements[id - 1].operands.push_back(std::move(op));
        }
        done(id);
    } else if (v == "SET") {
        const std::uint32_t id = fact(StatementKind::Set, verb, first).id;
        push(m_data.statements[id - 1], operandList(cursor, OperandRole::Target, 0, extra));
        if (cursor.accept("TO") || (cursor.accept("UP") && cursor.accept("BY"))
            || (cursor.accept("DOWN") && cursor.accept("BY")))
            push(m_data.statements[id - 1], operandList(cursor, OperandRole::Source, 0, extra));
        done(id);
    } else if (v == "EXEC") {
        execBlock(cursor, verb, first);
    }
    // Other verbs carry no facts: the main loop skips their operands up to the next verb.
}

} // namespace cobol
