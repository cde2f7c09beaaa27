// Operands, arithmetic expressions and relational conditions of the procedure division: the
// part of ProcedureParser that reads identifiers with their qualification, subscripts and
// reference modification, and splits expressions into signed terms.
#include "ProcedureParser.h"

#include "TokenCursor.h"
#include "WordTable.h"

#include <unordered_set>

namespace cobol {

using namespace std::string_view_literals;

namespace {

const WordTable<bool> &figuratives()
{
    static constexpr std::string_view list[] = {"ZERO",
                                                "ZEROS",
                                                "ZEROES",
                                                "SPACE",
                                                "SPACES",
                                                "HIGH-VALUE",
                                                "HIGH-VALUES",
                                                "LOW-VALUE",
                                                "LOW-VALUES",
                                                "QUOTE",
                                                "QUOTES",
                                                "NULL",
                                                "NULLS"};
    static const WordTable<bool> words = [] {
        WordTable<bool> table;
        for (std::string_view word : list)
            table.insert(word) = true;
        return table;
    }();
    return words;
}

bool isPunct(const LexToken &t, std::string_view text)
{
    return t.kind == TokenKind::Punctuation && t.text() == text;
}

} // namespace

void ProcedureParser::subscriptsAndRefMod(TokenCursor &cursor, Operand &out)
{
    // Up to two parenthesised parts: subscripts, then a reference modification (with ':').
    // A blank may stand before the parenthesis ("TBL-YY (I)"); then it belongs to the operand
    // only when the item is a table element or the parenthesis holds a reference modification.
    bool table = false;
    for (const DataItem *up = m_data.item(out.item); up && !table; up = m_data.item(up->parent))
        table = up->occursMax > 0;
    for (int part = 0; part < 2 && isPunct(cursor.peek(), "("); ++part) {
        // Find the matching parenthesis and whether a ':' stands at its level.
        std::size_t depth = 0, k = 0;
        bool colon = false;
        for (;; ++k) {
            const LexToken &t = cursor.peek(k);
            if (t.text().empty() && t.kind == TokenKind::Other)
                break;
            if (isPunct(t, "("))
                ++depth;
            else if (isPunct(t, ")") && --depth == 0)
                break;
            else if (depth == 1 && isPunct(t, ":"))
                colon = true;
            if (isPunct(t, ".") || k > 200)
                break;
        }
        if (depth != 0)
            return; // unbalanced: leave the tokens to the caller's resync
        if (!cursor.peek().glued && !colon && !(table && part == 0))
            return;
        cursor.next(); // (
        const std::size_t close = cursor.position() + k - 1;
        if (!colon) {
            while (cursor.position() < close) {
                const LexToken &t = cursor.next();
                if ((isPunct(t, "+") || isPunct(t, "-")) && cursor.position() < close) {
                    cursor.next(); // a relative subscript: "I + 1" is one subscript
                    continue;
                }
                if (t.kind == TokenKind::Number && !t.text().empty() && t.text()[0] != '+'
                    && t.text()[0] != '-') {
                    out.subscripts.push_back({0, std::string(t.text())});
                } else if (t.kind == TokenKind::Word && !isReserved(t)) {
                    std::vector<std::string> qualifiers;
                    while ((cursor.is("OF") || cursor.is("IN")) && cursor.position() + 1 < close) {
                        cursor.next();
                        qualifiers.emplace_back(cursor.next().upper());
                    }
                    // An index name (INDEXED BY) is no data item: it is kept by name.
                    const std::uint32_t id = m_symbols.resolve(t.upper(), qualifiers);
                    out.subscripts.push_back({id, id ? std::string() : std::string(t.upper())});
                }
            }
        } else {
            long long values[2] = {-1, -1};
            int which = 0, count[2] = {0, 0};
            bool variable = false;
            while (cursor.position() < close) {
                const LexToken &t = cursor.next();
                if (isPunct(t, ":")) {
                    which = 1;
                    continue;
                }
                ++count[which];
                const long long v = tokenInteger(t);
                if (v >= 0 && count[which] == 1)
                    values[which] = v;
                else
                    variable = true;
                if (t.kind == TokenKind::Word && !isReserved(t)) {
                    const std::uint32_t id = m_symbols.resolve(t.upper(), {});
                    if (id)
                        out.subscripts.push_back({id, ""});
                }
            }
            if (variable || count[0] != 1 || count[1] > 1 || values[0] < 1) {
                out.refMod = RefMod::Variable;
            } else {
                out.refMod = RefMod::Constant;
                out.refOffset = static_cast<std::uint32_t>(values[0]);
                out.refLength = count[1] == 1 ? static_cast<std::uint32_t>(values[1]) : 0;
            }
        }
        cursor.next(); // )
    }
}

bool ProcedureParser::operand(TokenCursor &cursor, Operand &out, std::vector<Operand> &extra)
{
    const LexToken &t = cursor.peek();
    out = Operand();
    out.place = t.place;
    if (t.kind == TokenKind::Literal || t.kind == TokenKind::Number) {
        out.kind = OperandKind::Literal;
        out.text = t.text();
        cursor.next();
        return true;
    }
    if (t.kind != TokenKind::Word)
        return false;
    if (t.upper() == "ALL"sv && cursor.peek(1).kind == TokenKind::Literal) {
        out.kind = OperandKind::Figurative;
        out.text = "ALL " + std::string(cursor.peek(1).text());
        cursor.next();
        cursor.next();
        return true;
    }
    if (figuratives().contains(t.upper()) && !m_symbols.contains(t.upper())) {
        out.kind = OperandKind::Figurative;
        out.text = t.upper();
        cursor.next();
        return true;
    }
    if (t.upper() == "FUNCTION"sv) {
        cursor.next();
        out.kind = OperandKind::Function;
        out.text = cursor.next().upper();
        if (isPunct(cursor.peek(), "(")) {
            // Arguments, unless the parenthesis is a reference modification.
            bool refmodOnly = false;
            for (std::size_t k = 1, depth = 1; k < 200; ++k) {
                const LexToken &p = cursor.peek(k);
                if (isPunct(p, "("))
                    ++depth;
                else if (isPunct(p, ")") && --depth == 0)
                    break;
                else if (depth == 1 && isPunct(p, ":"))
                    refmodOnly = true;
                if (p.text().empty() || isPunct(p, "."))
                    break;
            }
            if (!refmodOnly) {
                cursor.next();
                while (!cursor.atEnd() && !isPunct(cursor.peek(), ")") && !cursor.isPeriod()) {
                    const std::size_t before = cursor.position();
                    std::vector<Operand> args;
                    bool nonLinear = false;
                    expression(cursor, 1, true, args, extra, nonLinear);
                    for (Operand &arg : args) {
                        arg.function = out.text;
                        arg.sign = 0;
                        arg.role = OperandRole::Source;
                        extra.push_back(std::move(arg));
                    }
                    if (cursor.position() == before)
                        cursor.next();
                }
                if (isPunct(cursor.peek(), ")"))
                    cursor.next();
            }
        }
        if (isPunct(cursor.peek(), "(") && cursor.peek().glued)
            subscriptsAndRefMod(cursor, out);
        else if (isPunct(cursor.peek(), "("))
            subscriptsAndRefMod(cursor, out);
        return true;
    }
    if ((t.upper() == "LENGTH"sv || t.upper() == "ADDRESS"sv) && cursor.is("OF", 1)) {
        cursor.next();
        cursor.next();
        Operand inner;
        std::vector<Operand> ignored;
        operand(cursor, inner, ignored);
        out.kind = OperandKind::Function;
        out.text = std::string(t.upper()) + " OF " + inner.text;
        return true;
    }
    if ((t.upper() == "DFHRESP"sv || t.upper() == "DFHVALUE"sv) && isPunct(cursor.peek(1), "(")
        && isPunct(cursor.peek(3), ")")) {
        // A CICS response or CVDA name the translator turns into its number.
        out.kind = OperandKind::Literal;
        out.text = std::string(t.upper()) + "(" + std::string(cursor.peek(2).upper()) + ")";
        for (int k = 0; k < 4; ++k)
            cursor.next();
        return true;
    }
    // A data name is looked up once: to know it is no reserved word, and to resolve it.
    const std::vector<std::uint32_t> &named = m_symbols.named(t.upper());
    if (named.empty() && isReserved(t))
        return false;
    out.kind = OperandKind::Item;
    out.text = t.upper();
    cursor.next();
    std::vector<std::string> qualifiers;
    while ((cursor.is("OF") || cursor.is("IN")) && cursor.peek(1).kind == TokenKind::Word) {
        cursor.next();
        qualifiers.emplace_back(cursor.next().upper());
    }
    bool ambiguous = false;
    out.item = m_symbols.resolveAmong(named, qualifiers, &ambiguous);
    static const std::unordered_set<std::string> specialRegisters = {"RETURN-CODE",
                                                                     "SORT-RETURN",
                                                                     "TALLY",
                                                                     "WHEN-COMPILED",
                                                                     "SORT-CORE-SIZE",
                                                                     "SORT-FILE-SIZE",
                                                                     "SORT-MESSAGE",
                                                                     "SORT-MODE-SIZE",
                                                                     "NUMBER-OF-CALL-PARAMETERS",
                                                                     "DEBUG-ITEM",
                                                                     "LINAGE-COUNTER",
                                                                     "XML-CODE",
                                                                     "JSON-CODE",
                                                                     "COB-CRT-STATUS"};
    if (out.item == 0 && specialRegisters.count(out.text)) {
        // A special register: no data item of the program, nothing to report.
    } else if (out.item == 0 && m_unresolvedReported < 200) {
        ++m_unresolvedReported;
        m_data.diagnostics.push_back({Diagnostic::Severity::Warning,
                                      out.place,
                                      "The data name " + out.text + " is not defined."});
    } else if (ambiguous && m_unresolvedReported < 200) {
        ++m_unresolvedReported;
        m_data.diagnostics.push_back(
            {Diagnostic::Severity::Warning,
             out.place,
             "The reference to " + out.text + " is ambiguous; the first definition is used."});
    }
    subscriptsAndRefMod(cursor, out);
    return true;
}

std::vector<Operand> ProcedureParser::operandList(TokenCursor &cursor,
                                                  OperandRole role,
                                                  int sign,
                                                  std::vector<Operand> &extra)
{
    std::vector<Operand> list;
    operandList(cursor, role, sign, extra, list);
    return list;
}

void ProcedureParser::operandList(TokenCursor &cursor,
                                  OperandRole role,
                                  int sign,
                                  std::vector<Operand> &extra,
                                  std::vector<Operand> &into)
{
    Operand op;
    while (!cursor.atEnd() && operand(cursor, op, extra)) {
        op.role = role;
        op.sign = sign;
        into.push_back(std::move(op)); // operand() starts the next one afresh
        cursor.accept("ROUNDED");
    }
}

void ProcedureParser::primary(TokenCursor &cursor,
                              int sign,
                              bool linear,
                              std::vector<Operand> &terms,
                              std::vector<Operand> &extra,
                              bool &nonLinear)
{
    if (isPunct(cursor.peek(), "+")) {
        cursor.next();
    } else if (isPunct(cursor.peek(), "-")) {
        cursor.next();
        sign = -sign;
    }
    if (isPunct(cursor.peek(), "(")) {
        cursor.next();
        expression(cursor, sign, linear, terms, extra, nonLinear);
        if (isPunct(cursor.peek(), ")"))
            cursor.next();
        return;
    }
    Operand op;
    const std::size_t argumentsBefore = extra.size();
    if (!operand(cursor, op, extra))
        return;
    // A function with arguments hides how its result depends on them.
    if (extra.size() > argumentsBefore)
        nonLinear = true;
    op.sign = linear ? sign : 0;
    if (op.kind == OperandKind::Literal && !op.text.empty() && op.text[0] == '-' && linear) {
        op.sign = -op.sign;
        op.text.erase(0, 1);
    }
    terms.push_back(std::move(op));
}

void ProcedureParser::term(TokenCursor &cursor,
                           int sign,
                           bool linear,
                           std::vector<Operand> &terms,
                           std::vector<Operand> &extra,
                           bool &nonLinear)
{
    // A product, quotient or power makes every factor non-additive.
    std::size_t start = terms.size();
    primary(cursor, sign, linear, terms, extra, nonLinear);
    while (isPunct(cursor.peek(), "*") || isPunct(cursor.peek(), "/")
           || isPunct(cursor.peek(), "**")) {
        cursor.next();
        nonLinear = true;
        primary(cursor, sign, false, terms, extra, nonLinear);
        for (std::size_t k = start; k < terms.size(); ++k)
            terms[k].sign = 0;
    }
}

void ProcedureParser::expression(TokenCursor &cursor,
                                 int sign,
                                 bool linear,
                                 std::vector<Operand> &terms,
                                 std::vector<Operand> &extra,
                                 bool &nonLinear)
{
    term(cursor, sign, linear, terms, extra, nonLinear);
    while (isPunct(cursor.peek(), "+") || isPunct(cursor.peek(), "-")) {
        const int s = cursor.next().text() == "-"sv ? -sign : sign;
        term(cursor, s, linear, terms, extra, nonLinear);
    }
}

std::string ProcedureParser::relation(TokenCursor &cursor)
{
    const std::size_t start = cursor.position();
    cursor.accept("IS");
    bool negated = cursor.accept("NOT");
    std::string op;
    const LexToken &t = cursor.peek();
    if (t.kind == TokenKind::Punctuation
        && (t.text() == "="sv || t.text() == "<"sv || t.text() == ">"sv || t.text() == "<="sv
            || t.text() == ">="sv || t.text() == "<>"sv)) {
        op = t.text();
        cursor.next();
    } else if (t.is("EQUAL") || t.is("EQUALS")) {
        cursor.next();
        cursor.accept("TO");
        // Move-assigned rather than assigned from a literal: GCC 12 -O2 reports a false
        // -Wrestrict overlap for std::string::operator=(const char *) here.
        op = std::string("=");
    } else if (t.is("GREATER") || t.is("LESS")) {
        cursor.next();
        cursor.accept("THAN");
        op = std::string(t.is("GREATER") ? ">" : "<");
        if (cursor.is("OR") && cursor.is("EQUAL", 1)) {
            cursor.next();
            cursor.next();
            cursor.accept("TO");
            op += "=";
        }
    } else {
        cursor.setPosition(start);
        return {};
    }
    if (negated) {
        op = op == "="    ? "<>"
             : op == "<>" ? "="
             : op == "<"  ? ">="
             : op == ">"  ? "<="
             : op == "<=" ? ">"
                          : "<";
    }
    return op;
}

void ProcedureParser::compare(const std::vector<Operand> &left,
                              const std::string &op,
                              const std::vector<Operand> &right,
                              StatementContext context,
                              const LexToken &verb,
                              std::size_t firstToken,
                              std::uint32_t &group,
                              const TokenCursor &cursor,
                              std::vector<Operand> extra)
{
    if (left.empty() || right.empty())
        return;
    Statement &stmt = fact(StatementKind::Compare, verb, firstToken, group);
    if (group == 0)
        group = stmt.id;
    stmt.context = context;
    stmt.detail = op;
    stmt.nonLinear = left.size() > 1 || right.size() > 1;
    stmt.operands.reserve(left.size() + right.size() + extra.size());
    for (const Operand &side : left) {
        stmt.operands.push_back(side);
        stmt.operands.back().role = OperandRole::Compared;
        if (!stmt.nonLinear)
            stmt.operands.back().sign = 0;
    }
    for (const Operand &side : right) {
        stmt.operands.push_back(side);
        stmt.operands.back().role = OperandRole::Compared;
        if (!stmt.nonLinear)
            stmt.operands.back().sign = 0;
    }
    for (Operand &e : extra)
        stmt.operands.push_back(std::move(e));
    finish(stmt, cursor);
}

void ProcedureParser::condition(TokenCursor &cursor,
                                StatementContext context,
                                const LexToken &verb,
                                std::size_t firstToken,
                                std::uint32_t &group)
{
    std::vector<Operand> subject;
    std::string lastOp;
    int depth = 0;
    for (int guard = 0; guard < 10000 && !cursor.atEnd(); ++guard) {
        while (cursor.accept("NOT")) {
        }
        while (isPunct(cursor.peek(), "(")) {
            // A parenthesis opens a nested condition or an arithmetic expression; both parse the
            // same way here.
            cursor.next();
            ++depth;
        }
        std::vector<Operand> extra;
        std::vector<Operand> left;
        bool nonLinear = false;
        std::string op = relation(cursor);
        if (!op.empty() && !subject.empty()) {
            left = subject; // abbreviated: "A = B OR > C"
        } else {
            const std::size_t before = cursor.position();
            expression(cursor, 1, true, left, extra, nonLinear);
            if (cursor.position() == before)
                break;
            while (depth > 0 && isPunct(cursor.peek(), ")")) {
                cursor.next();
                --depth;
            }
            op = relation(cursor);
            const bool conditionName = left.size() == 1 && left.front().kind == OperandKind::Item
                                       && m_data.item(left.front().item)
                                       && m_data.item(left.front().item)->level == 88;
            if (op.empty() && !lastOp.empty() && !subject.empty() && !conditionName) {
                // Abbreviated: "A = 1 OR 2": subject and operator carry over.
                compare(subject, lastOp, left, context, verb, firstToken, group, cursor, extra);
                extra.clear();
                left.clear();
            }
        }
        if (!op.empty()) {
            std::vector<Operand> right;
            expression(cursor, 1, true, right, extra, nonLinear);
            compare(left, op, right, context, verb, firstToken, group, cursor, extra);
            subject = left;
            lastOp = op;
        } else {
            // Class, sign or condition-name tests carry no comparison.
            cursor.accept("IS");
            cursor.accept("NOT");
            if (cursor.is("NUMERIC") || cursor.is("ALPHABETIC") || cursor.is("ALPHABETIC-LOWER")
                || cursor.is("ALPHABETIC-UPPER") || cursor.is("POSITIVE") || cursor.is("NEGATIVE")
                || cursor.is("ZERO") || cursor.is("ZEROS") || cursor.is("ZEROES"))
                cursor.next();
        }
        while (depth > 0 && isPunct(cursor.peek(), ")")) {
            cursor.next();
            --depth;
        }
        if (cursor.is("AND") || cursor.is("OR")) {
            cursor.next();
            continue;
        }
        if (depth > 0 && !cursor.isPeriod() && !isVerb(cursor.peek()))
            continue;
        break;
    }
}

} // namespace cobol
