#include "StatementRewriter.h"

namespace vyquext {

namespace {

bool isDateToConvert(const Operand &operand)
{
    return operand.kind == Operand::Kind::DateItem && operand.field->shape != DateShape::FullYear;
}

bool endsArithmetic(const Token &token)
{
    return token.is("ON") || token.is("SIZE") || token.is("NOT")
           || token.upper.rfind("END-", 0) == 0 || token.text == ".";
}

} // namespace

StatementRewriter::StatementRewriter(const OperandParser &parser, ConversionLog &log)
    : m_parser(parser)
    , m_tokens(parser.tokens())
    , m_log(log)
{}

void StatementRewriter::leave(std::size_t first,
                              std::size_t last,
                              const std::string &reason,
                              Remark::Severity severity)
{
    const std::string text = m_parser.sourceText(first, last > first ? last - 1 : first, {});
    m_log.addRemark(severity, m_tokens[first].line + 1, "statement \"" + text + "\"", reason);
}

void StatementRewriter::leaveIfDates(std::size_t first, std::size_t last, const std::string &reason)
{
    for (std::size_t i = first; i < last; ++i) {
        if (m_tokens[i].kind != TokenKind::Word)
            continue;
        const Operand operand = m_parser.classify(m_parser.forward(i));
        if (isDateToConvert(operand))
            return leave(first,
                         last,
                         operand.field->name + ": " + reason,
                         operand.field->shape == DateShape::Conflict ? Remark::Severity::Error
                                                                     : Remark::Severity::Warning);
    }
}

bool StatementRewriter::hasSizeError(std::size_t first, std::size_t last) const
{
    for (std::size_t i = first; i < last; ++i)
        if (m_tokens[i].is("SIZE"))
            return true;
    return false;
}

bool StatementRewriter::isFourDigitTarget(const Operand &operand) const
{
    return operand.kind == Operand::Kind::DateItem && operand.field->shape == DateShape::FullYear
           && operand.field->digitsAfterYear == 0;
}

bool StatementRewriter::isWideNumber(const Operand &operand) const
{
    if (operand.kind != Operand::Kind::Other || !operand.range.valid)
        return false;
    for (const DataEntry *entry : m_parser.data().find(m_tokens[operand.range.first].upper))
        if (!entry->picture.empty())
            return entry->numeric && entry->digits >= 4;
    return false;
}

template<typename Stop>
bool StatementRewriter::operands(std::size_t &index,
                                 std::size_t last,
                                 Stop stop,
                                 std::vector<Operand> &out) const
{
    while (index < last && !stop(m_tokens[index])) {
        if (m_tokens[index].is("ROUNDED")) {
            ++index;
            continue;
        }
        const TokenRange range = m_parser.forward(index);
        if (!range.valid)
            return false;
        out.push_back(m_parser.classify(range));
        index = range.last;
    }
    return true;
}

void StatementRewriter::rewrite(std::size_t first, std::size_t last)
{
    const Token &verb = m_tokens[first];
    if (verb.is("COMPUTE"))
        compute(first, last);
    else if (verb.is("ADD"))
        addOrSubtract(first, last, /*subtract=*/false);
    else if (verb.is("SUBTRACT"))
        addOrSubtract(first, last, /*subtract=*/true);
    else if (verb.is("MULTIPLY") || verb.is("DIVIDE"))
        leaveIfDates(first, last, "multiplication or division of a date field");
    else if (verb.is("SORT") || verb.is("MERGE"))
        leaveIfDates(first,
                     last,
                     "a sort key on a two-digit year: the order breaks at the century; sort on a "
                     "windowed or expanded key");
    else if (verb.is("MOVE"))
        move(first, last);
    else if (verb.is("STRING")) {
        for (std::size_t i = first; i < last; ++i) {
            std::string text = m_tokens[i].text;
            if (m_tokens[i].kind == TokenKind::Literal && text.size() >= 2)
                text = text.substr(1, text.size() - 2);
            else if (m_tokens[i].kind != TokenKind::Number)
                continue;
            if (text == "19" || text == "20")
                return leaveIfDates(first, last, "a century hard-coded in STRING");
        }
    }
}

void StatementRewriter::compute(std::size_t first, std::size_t last)
{
    std::size_t index = first + 1;
    std::vector<Operand> targets;
    const bool readable = operands(
        index, last, [](const Token &t) { return t.text == "=" || t.is("EQUAL"); }, targets);
    if (!readable || index >= last)
        return leaveIfDates(first, last, "this COMPUTE could not be read");
    ++index;
    std::vector<Term> terms;
    bool nonLinear = false;
    int sign = 1;
    if (index < last && (m_tokens[index].text == "+" || m_tokens[index].text == "-")
        && m_tokens[index].kind == TokenKind::Operator) {
        sign = m_tokens[index].text == "-" ? -1 : 1;
        ++index;
    }
    while (index < last && !endsArithmetic(m_tokens[index])) {
        TokenRange range = m_parser.forward(index);
        if (!range.valid && m_tokens[index].text == "(") {
            // "(1950 + FUNCTION MOD(YY - 50, 100))", written by an earlier conversion.
            const std::size_t close = m_parser.match(index);
            const TokenRange inner{index + 3, close, close != static_cast<std::size_t>(-1)};
            if (inner.valid && index + 3 < close && m_tokens[index + 1].kind == TokenKind::Number
                && m_tokens[index + 2].text == "+" && m_parser.isWindowed(inner))
                range = TokenRange{index, close + 1, true};
        }
        if (!range.valid) {
            nonLinear = true;
            break;
        }
        Operand operand = m_parser.classify(range);
        if (operand.mentionsDate && operand.kind != Operand::Kind::DateItem
            && !m_parser.isWindowed(range) && m_tokens[range.first].text != "(")
            nonLinear = true;
        terms.push_back({std::move(operand), sign});
        index = range.last;
        if (index >= last || endsArithmetic(m_tokens[index]))
            break;
        const Token &op = m_tokens[index];
        if (op.kind == TokenKind::Operator && (op.text == "+" || op.text == "-")) {
            sign = op.text == "-" ? -1 : 1;
            ++index;
        } else {
            nonLinear = true;
            break;
        }
    }
    bool dates = false;
    for (const Operand &target : targets)
        dates = dates || isDateToConvert(target);
    for (std::size_t i = first; i < last && !dates; ++i)
        dates = m_tokens[i].kind == TokenKind::Word
                && m_parser.classify(m_parser.forward(i)).kind == Operand::Kind::DateItem
                && isDateToConvert(m_parser.classify(m_parser.forward(i)));
    if (!dates)
        return;
    if (nonLinear)
        return leave(first,
                     last,
                     "a date field in a multiplication, division, function or parenthesised "
                     "expression");
    yearArithmetic(first, last, terms, targets, /*rewriteInPlace=*/true);
}

void StatementRewriter::addOrSubtract(std::size_t first, std::size_t last, bool subtract)
{
    std::size_t index = first + 1;
    if (index < last && (m_tokens[index].is("CORR") || m_tokens[index].is("CORRESPONDING")))
        return leaveIfDates(first, last, "ADD or SUBTRACT CORRESPONDING on date fields");
    const char *joint = subtract ? "FROM" : "TO";
    std::vector<Operand> sending;
    std::vector<Operand> middle;
    std::vector<Operand> giving;
    bool readable = operands(
        index,
        last,
        [&](const Token &t) { return t.is(joint) || t.is("GIVING") || endsArithmetic(t); },
        sending);
    if (readable && index < last && m_tokens[index].is(joint)) {
        ++index;
        readable = operands(
            index,
            last,
            [](const Token &t) { return t.is("GIVING") || endsArithmetic(t); },
            middle);
    }
    const bool hasGiving = readable && index < last && m_tokens[index].is("GIVING");
    if (hasGiving) {
        ++index;
        readable = operands(index, last, endsArithmetic, giving);
    }
    if (!readable)
        return leaveIfDates(first, last, "this statement could not be read");

    const int sendingSign = subtract ? -1 : 1;
    if (hasGiving) {
        std::vector<Term> terms;
        for (const Operand &operand : sending)
            terms.push_back({operand, sendingSign});
        for (const Operand &operand : middle)
            terms.push_back({operand, 1});
        yearArithmetic(first, last, terms, giving, /*rewriteInPlace=*/true);
        return;
    }
    for (const Operand &target : middle) {
        std::vector<Term> terms{{target, 1}};
        for (const Operand &operand : sending)
            terms.push_back({operand, sendingSign});
        yearArithmetic(first, last, terms, {target}, /*rewriteInPlace=*/false);
    }
}

void StatementRewriter::yearArithmetic(std::size_t first,
                                       std::size_t last,
                                       const std::vector<Term> &terms,
                                       const std::vector<Operand> &targets,
                                       bool rewriteInPlace)
{
    std::vector<const Term *> years;
    bool anyDate = false;
    for (const Operand &target : targets)
        anyDate = anyDate || isDateToConvert(target);
    for (const Term &term : terms) {
        if (term.operand.kind != Operand::Kind::DateItem)
            continue;
        anyDate = anyDate || isDateToConvert(term.operand);
        years.push_back(&term);
    }
    if (!anyDate)
        return;
    for (const Operand &operand : targets)
        if (operand.kind == Operand::Kind::DateItem
            && (operand.field->shape == DateShape::Conflict
                || operand.field->shape == DateShape::Unsupported
                || operand.field->shape == DateShape::Group))
            return leave(first,
                         last,
                         operand.field->name + ": " + operand.field->reason,
                         operand.field->shape == DateShape::Conflict ? Remark::Severity::Error
                                                                     : Remark::Severity::Warning);
    for (const Term *term : years) {
        const DateField &field = *term->operand.field;
        if (field.shape == DateShape::Conflict || field.shape == DateShape::Unsupported
            || field.shape == DateShape::Group)
            return leave(first,
                         last,
                         field.name + ": " + field.reason,
                         field.shape == DateShape::Conflict ? Remark::Severity::Error
                                                            : Remark::Severity::Warning);
        if (field.shape != DateShape::TwoDigitYear)
            return leave(first, last, "arithmetic on a date that is not a plain two-digit year");
        if (term->operand.referenceModified)
            return leave(first, last, "a reference modification of the date field " + field.name);
    }
    if (hasSizeError(first, last))
        return leave(first,
                     last,
                     "ON SIZE ERROR on year arithmetic: windowing changes when the error fires");
    bool targetsTwoDigit = !targets.empty();
    bool anyTargetTwoDigit = false;
    bool targetsFourDigit = !targets.empty();
    for (const Operand &target : targets) {
        const bool twoDigit = target.kind == Operand::Kind::DateItem
                              && target.field->shape == DateShape::TwoDigitYear;
        targetsTwoDigit = targetsTwoDigit && twoDigit;
        anyTargetTwoDigit = anyTargetTwoDigit || twoDigit;
        targetsFourDigit = targetsFourDigit && isFourDigitTarget(target);
    }
    int k = 0;
    for (const Term *term : years)
        k += term->sign;
    const std::string text = m_parser.sourceText(first, last - 1, {});
    std::vector<Edit> edits;
    Change change;
    change.line = m_tokens[first].line + 1;
    change.oldText = text;
    if (k == 0 && years.size() >= 2) {
        if (anyTargetTwoDigit)
            return leave(first, last, "a difference of years is stored in a two-digit year");
        if (!rewriteInPlace)
            return leave(first, last, "a year subtracted from a year in place");
        for (const Term *term : years) {
            if (!m_parser.onOneLine(term->operand.range))
                return leave(first, last, "an operand spans lines");
            edits.push_back(
                m_parser.replace(term->operand.range, m_parser.windowed(term->operand)));
        }
        change.what = "difference of two-digit years windowed";
    } else if (k == 1 && years.size() == 1) {
        if (targetsTwoDigit) {
            m_log.addRemark(Remark::Severity::Note,
                            change.line,
                            "statement \"" + text + "\"",
                            "no change needed: a year moved by a period stays right in two "
                            "digits");
            return;
        }
        for (const Term &term : terms)
            if (term.operand.kind == Operand::Kind::NumberLiteral && term.operand.integer
                && term.operand.value >= 100)
                return leave(first, last, "a century looks hard-coded in year arithmetic");
        if (!targetsFourDigit || !rewriteInPlace)
            return leave(first,
                         last,
                         "a two-digit year's arithmetic is stored in an item that is not known "
                         "as a two- or four-digit year");
        const Term *year = years.front();
        if (!m_parser.onOneLine(year->operand.range))
            return leave(first, last, "an operand spans lines");
        edits.push_back(m_parser.replace(year->operand.range, m_parser.fullYear(year->operand)));
        change.what = "two-digit year widened by the window into a four-digit result";
    } else if (years.empty()) {
        if (anyTargetTwoDigit)
            return;
        return;
    } else {
        return leave(first, last, "a sum of several years");
    }
    change.newText = m_parser.sourceText(first, last - 1, edits);
    m_log.addChange(std::move(change), std::move(edits));
}

void StatementRewriter::move(std::size_t first, std::size_t last)
{
    if (first + 1 >= last)
        return;
    const TokenRange sourceRange = m_parser.forward(first + 1);
    if (!sourceRange.valid)
        return;
    const Operand source = m_parser.classify(sourceRange);
    if (source.kind != Operand::Kind::DateItem || !isDateToConvert(source))
        return;
    std::size_t index = sourceRange.last;
    if (index >= last || !m_tokens[index].is("TO"))
        return;
    ++index;
    std::vector<Operand> targets;
    if (!operands(
            index, last, [](const Token &t) { return t.text == "."; }, targets))
        return;
    // Only a target the analyser knows as a four-digit year (or a date with the year first and
    // a four-digit year) gets the century; a wide number that is no known year is left.
    bool anyWide = false;
    for (const Operand &target : targets)
        anyWide = anyWide || isWideNumber(target)
                  || (target.kind == Operand::Kind::DateItem
                      && target.field->shape == DateShape::FullYear);
    if (!anyWide)
        return;
    const DateField &field = *source.field;
    const int after = field.shape == DateShape::YearFirstDate ? field.digitsAfterYear : 0;
    const Operand &target = targets.front();
    const bool fits = targets.size() == 1 && target.kind == Operand::Kind::DateItem
                      && target.field->shape == DateShape::FullYear
                      && target.field->digitsAfterYear == after && !source.referenceModified
                      && (field.shape == DateShape::TwoDigitYear
                          || field.shape == DateShape::YearFirstDate);
    if (!fits)
        return leave(first,
                     last,
                     targets.size() != 1
                         ? field.name + " moved into several items, a wide number among them"
                         : field.name + " moved into " + m_parser.text(target.range)
                               + ", which is not known as a date of the same layout with a "
                                 "four-digit year: the century is not supplied");
    const TokenRange whole{first, targets.front().range.last, true};
    if (!m_parser.onOneLine(whole))
        return leave(first, last, "the MOVE spans lines");
    Change change;
    change.line = m_tokens[first].line + 1;
    change.what = after == 0 ? "two-digit year moved into a four-digit year through the window"
                             : "date moved into a date with a four-digit year through the window";
    change.oldText = m_parser.sourceText(first, last - 1, {});
    std::vector<Edit> edits;
    edits.push_back(m_parser.replace(whole,
                                     "COMPUTE " + m_parser.text(target.range) + " = "
                                         + m_parser.fullYear(source)));
    change.newText = m_parser.sourceText(first, last - 1, edits);
    m_log.addChange(std::move(change), std::move(edits));
}

} // namespace vyquext
