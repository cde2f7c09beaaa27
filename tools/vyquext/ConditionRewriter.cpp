#include "ConditionRewriter.h"

namespace vyquext {

ConditionRewriter::ConditionRewriter(const OperandParser &parser, ConversionLog &log)
    : m_parser(parser)
    , m_tokens(parser.tokens())
    , m_log(log)
{}

bool ConditionRewriter::isRelationCore(std::size_t index) const
{
    if (index >= m_tokens.size())
        return false;
    const Token &token = m_tokens[index];
    if (token.kind == TokenKind::Operator)
        return token.text == "<" || token.text == ">" || token.text == "=" || token.text == "<="
               || token.text == ">=" || token.text == "<>";
    return token.is("GREATER") || token.is("LESS") || token.is("EQUAL") || token.is("EQUALS");
}

bool ConditionRewriter::startsRelation(std::size_t index) const
{
    while (index < m_tokens.size() && (m_tokens[index].is("IS") || m_tokens[index].is("NOT")))
        ++index;
    return isRelationCore(index);
}

bool ConditionRewriter::centuryLiteralNear(std::size_t first, std::size_t last) const
{
    for (std::size_t i = first; i < last && i < m_tokens.size(); ++i) {
        const Token &token = m_tokens[i];
        std::string text = token.text;
        if (token.kind == TokenKind::Literal && text.size() >= 2)
            text = text.substr(1, text.size() - 2);
        else if (token.kind != TokenKind::Number)
            continue;
        if (text == "19" || text == "20" || text == "1900" || text == "2000")
            return true;
    }
    return false;
}

void ConditionRewriter::rewrite(std::size_t first,
                                std::size_t last,
                                std::size_t sentenceEnd,
                                Context context)
{
    Chain chain;
    bool open = false;
    std::size_t index = first;
    while (index < last) {
        if (!isRelationCore(index)) {
            ++index;
            continue;
        }
        std::size_t relFirst = index;
        while (relFirst > first
               && (m_tokens[relFirst - 1].is("NOT") || m_tokens[relFirst - 1].is("IS")))
            --relFirst;
        const Token &core = m_tokens[index];
        std::size_t relLast = index + 1;
        if (core.is("GREATER") || core.is("LESS")) {
            if (relLast < last && m_tokens[relLast].is("THAN"))
                ++relLast;
            if (relLast + 1 < last && m_tokens[relLast].is("OR")
                && m_tokens[relLast + 1].is("EQUAL")) {
                relLast += 2;
            }
        }
        if (relLast < last && m_tokens[relLast].is("TO") && m_tokens[relLast - 1].is("EQUAL"))
            ++relLast;
        const bool isOrdering = !(core.text == "=" || core.text == "<>" || core.is("EQUAL")
                                  || core.is("EQUALS"));

        // The subject: missing after AND/OR/NOT, IF, WHEN, UNTIL or an opening parenthesis.
        bool abbreviated = relFirst == first;
        TokenRange subject;
        if (!abbreviated) {
            const Token &before = m_tokens[relFirst - 1];
            if (before.is("AND") || before.is("OR") || before.is("NOT") || before.is("IF")
                || before.is("WHEN") || before.is("UNTIL") || before.text == "(")
                abbreviated = true;
            else
                subject = m_parser.backward(relFirst);
            if (subject.valid && subject.first > first
                && OperandParser::isArithmetic(m_tokens[subject.first - 1]))
                subject.valid = false;
        }
        TokenRange object = m_parser.forward(relLast);
        if (object.valid && object.last < m_tokens.size()
            && OperandParser::isArithmetic(m_tokens[object.last]))
            object.valid = false;

        if (!abbreviated || !open) {
            if (open)
                finish(chain, first, sentenceEnd, context);
            chain = Chain{};
            open = true;
            chain.subject = subject;
            chain.subjectMissing = abbreviated;
            chain.first = subject.valid ? subject.first : relFirst;
        }
        chain.objects.push_back(object);
        chain.ordering = chain.ordering || isOrdering;
        std::size_t next = object.valid ? object.last : relLast;
        chain.last = next > 0 ? next - 1 : 0;

        // Objects whose relation is implied: "A-YY = 1 OR 2".
        while (next < last && (m_tokens[next].is("AND") || m_tokens[next].is("OR"))) {
            std::size_t start = next + 1;
            if (start < last && m_tokens[start].is("NOT"))
                ++start;
            if (startsRelation(start))
                break;
            const TokenRange implied = m_parser.forward(start);
            if (!implied.valid || startsRelation(implied.last))
                break;
            const Operand operand = m_parser.classify(implied);
            if (operand.kind == Operand::Kind::ConditionName)
                break;
            if (operand.kind != Operand::Kind::DateItem
                && operand.kind != Operand::Kind::NumberLiteral) {
                chain.uncertain = true;
                break;
            }
            chain.objects.push_back(implied);
            next = implied.last;
            chain.last = next - 1;
        }
        index = next > index ? next : index + 1;
    }
    if (open)
        finish(chain, first, sentenceEnd, context);
}

void ConditionRewriter::finish(Chain &chain,
                               std::size_t sentenceFirst,
                               std::size_t sentenceEnd,
                               Context context)
{
    std::vector<Operand> operands;
    if (!chain.subjectMissing)
        operands.push_back(m_parser.classify(chain.subject));
    for (const TokenRange &object : chain.objects)
        operands.push_back(m_parser.classify(object));
    bool dates = false;
    for (const Operand &operand : operands)
        dates = dates || operand.kind == Operand::Kind::DateItem || operand.mentionsDate;
    if (!dates)
        return;

    const std::size_t line = m_tokens[chain.first].line + 1;
    const std::string oldText = m_parser.sourceText(chain.first, chain.last, {});
    auto leave = [&](const std::string &reason, Remark::Severity severity) {
        m_log.addRemark(severity, line, "condition \"" + oldText + "\"", reason);
    };

    const DateField *shape = nullptr;
    bool fullYears = false;
    std::size_t windowedAlready = 0;
    for (const Operand &operand : operands) {
        if (operand.kind != Operand::Kind::DateItem) {
            if (operand.mentionsDate && m_parser.isWindowed(operand.range)) {
                ++windowedAlready;
                continue;
            }
            if (operand.mentionsDate)
                return leave("a date field inside an expression or function",
                             Remark::Severity::Warning);
            continue;
        }
        const DateField &field = *operand.field;
        if (field.shape == DateShape::Conflict)
            return leave(field.name + ": " + field.reason, Remark::Severity::Error);
        if (field.shape == DateShape::Unsupported || field.shape == DateShape::Group)
            return leave(field.name + ": " + field.reason, Remark::Severity::Warning);
        if (operand.referenceModified)
            return leave("a reference modification of the date field " + field.name,
                         Remark::Severity::Warning);
        if (field.shape == DateShape::FullYear) {
            if (field.digitsAfterYear != 0)
                return leave("a four-digit-year date compared in a chain with other fields",
                             Remark::Severity::Warning);
            fullYears = true;
            continue;
        }
        if (shape
            && (shape->shape != field.shape || shape->digitsAfterYear != field.digitsAfterYear))
            return leave("compares dates of different layouts (" + shape->name + ", " + field.name
                             + ")",
                         Remark::Severity::Warning);
        shape = &field;
    }
    if (windowedAlready > 0) {
        if (shape)
            return leave("partly windowed already", Remark::Severity::Warning);
        m_log.addRemark(Remark::Severity::Note,
                        line,
                        "condition \"" + oldText + "\"",
                        "windowed already: no change");
        return;
    }
    if (!shape) // only four-digit years: nothing to window
        return;
    if (chain.subjectMissing)
        return leave("an abbreviated condition whose subject this tool cannot see",
                     Remark::Severity::Warning);
    if (chain.uncertain)
        return leave("an abbreviated condition follows whose meaning cannot be told from the "
                     "text",
                     Remark::Severity::Warning);
    if (!chain.ordering) {
        m_log.addRemark(Remark::Severity::Note,
                        line,
                        "condition \"" + oldText + "\"",
                        "no change needed: equality keeps its meaning in the window");
        return;
    }
    if (context == Context::SearchAll)
        return leave("SEARCH ALL on a two-digit year: the table's key order must change too",
                     Remark::Severity::Warning);
    if (fullYears && shape->shape != DateShape::TwoDigitYear)
        return leave("compares a date with a four-digit year", Remark::Severity::Warning);

    bool literals = false;
    std::vector<Edit> edits;
    for (const Operand &operand : operands) {
        if (!operand.range.valid)
            return leave("compares a date field with an arithmetic expression",
                         Remark::Severity::Warning);
        if (!m_parser.onOneLine(operand.range))
            return leave("an operand spans lines", Remark::Severity::Warning);
        switch (operand.kind) {
        case Operand::Kind::DateItem:
            if (operand.field->shape == DateShape::FullYear)
                break;
            edits.push_back(m_parser.replace(operand.range,
                                             fullYears ? m_parser.fullYear(operand)
                                                       : m_parser.windowed(operand)));
            break;
        case Operand::Kind::NumberLiteral: {
            const int fits = fullYears ? 4
                                       : 2
                                             + (shape->shape == DateShape::YearFirstDate
                                                    ? shape->digitsAfterYear
                                                    : 0);
            if (!operand.integer || operand.literalDigits > fits
                || (fullYears && operand.literalDigits != 4))
                return leave("the literal " + m_parser.text(operand.range)
                                 + " does not fit the date's layout",
                             Remark::Severity::Warning);
            literals = true;
            if (!fullYears)
                edits.push_back(
                    m_parser.replace(operand.range, m_parser.windowedLiteral(operand, *shape)));
            break;
        }
        case Operand::Kind::OtherLiteral:
            return leave("compares a date field with a non-numeric literal",
                         Remark::Severity::Warning);
        case Operand::Kind::ConditionName:
        case Operand::Kind::Other:
            return leave("compares a date field with " + m_parser.text(operand.range)
                             + ", which is not a known date field",
                         Remark::Severity::Warning);
        }
    }
    if (literals && !fullYears
        && (centuryLiteralNear(sentenceFirst, chain.first)
            || centuryLiteralNear(chain.last + 1, sentenceEnd)))
        return leave("looks windowed already: a century literal (19/20) stands in the same "
                     "sentence",
                     Remark::Severity::Warning);

    Change change;
    change.line = line;
    change.what = fullYears ? "two-digit year widened by the window to compare with a four-digit "
                              "year"
                            : (shape->shape == DateShape::TwoDigitYear
                                   ? "comparison of two-digit years windowed"
                                   : "comparison of year-first dates windowed");
    change.oldText = oldText;
    change.newText = m_parser.sourceText(chain.first, chain.last, edits);
    for (const Operand &operand : operands) {
        if (operand.kind != Operand::Kind::DateItem)
            continue;
        // A condition name on 99 or 00 usually marks "never" or "none"; windowed, 99 is 1999.
        for (const DataEntry *condition : m_parser.data().conditionsOf(operand.field->name)) {
            const std::string &values = condition->values;
            if (values == "99" || values == "00" || values == "0" || values == "ZERO"
                || values == "ZEROS" || values == "ZEROES" || values == "999999"
                || values == "000000")
                m_log.addRemark(Remark::Severity::Warning,
                                line,
                                "condition \"" + oldText + "\" (converted)",
                                operand.field->name + " has the condition " + condition->name
                                    + " on " + values
                                    + ", a value that may mean \"never\": after windowing it "
                                      "orders as a real year; check the comparison is guarded");
        }
    }
    for (const Operand &operand : operands)
        if (operand.kind == Operand::Kind::DateItem && operand.field->alphanumeric)
            m_log.addRemark(Remark::Severity::Note,
                            line,
                            "alphanumeric year " + operand.field->name,
                            "read through FUNCTION NUMVAL: blanks count as 0");
    m_log.addChange(std::move(change), std::move(edits));
}

} // namespace vyquext
