#include "ProcedureRewriter.h"

#include "ConditionRewriter.h"
#include "ExecRegions.h"
#include "StatementRewriter.h"

#include <set>

namespace vyquext {

ProcedureRewriter::ProcedureRewriter(const OperandParser &parser, ConversionLog &log)
    : m_parser(parser)
    , m_tokens(parser.tokens())
    , m_log(log)
{}

bool ProcedureRewriter::isVerb(const Token &token)
{
    static const std::set<std::string> verbs
        = {"ACCEPT",   "ADD",      "ALTER",  "CALL",    "CANCEL",     "CLOSE",   "COMPUTE",
           "CONTINUE", "COPY",     "DELETE", "DISPLAY", "DIVIDE",     "ELSE",    "EVALUATE",
           "EXIT",     "GO",       "GOBACK", "IF",      "INITIALIZE", "INSPECT", "MERGE",
           "MOVE",     "MULTIPLY", "OPEN",   "PERFORM", "READ",       "RELEASE", "RETURN",
           "REWRITE",  "SEARCH",   "SET",    "SORT",    "START",      "STOP",    "STRING",
           "SUBTRACT", "UNSTRING", "WHEN",   "WRITE",   "EXEC",       "END-EXEC"};
    return token.kind == TokenKind::Word
           && (verbs.count(token.upper) != 0 || token.upper.rfind("END-", 0) == 0);
}

bool ProcedureRewriter::run()
{
    std::size_t start = 0;
    for (; start + 1 < m_tokens.size(); ++start)
        if (m_tokens[start].is("PROCEDURE") && m_tokens[start + 1].is("DIVISION"))
            break;
    if (start + 1 >= m_tokens.size())
        return false;
    while (start < m_tokens.size() && m_tokens[start].text != ".")
        ++start;

    ConditionRewriter conditions(m_parser, m_log);
    StatementRewriter statements(m_parser, m_log);
    const ExecRegions regions(m_tokens);
    bool searchAll = false;
    std::size_t index = start + 1;
    while (index < m_tokens.size()) {
        const Token &token = m_tokens[index];
        if (token.text == ".") {
            searchAll = false;
            ++index;
            continue;
        }
        if (!isVerb(token)) {
            ++index; // paragraph and section headers, stray words
            continue;
        }
        std::size_t last = index + 1;
        while (last < m_tokens.size() && m_tokens[last].text != "." && !isVerb(m_tokens[last]))
            ++last;
        std::size_t sentenceEnd = last;
        while (sentenceEnd < m_tokens.size() && m_tokens[sentenceEnd].text != ".") {
            // A period inside an EXEC block (an SQL qualified name) ends no sentence.
            const ExecRegions::Region *region = regions.startingAt(sentenceEnd);
            sentenceEnd = region ? region->last : sentenceEnd + 1;
        }

        if (const ExecRegions::Region *region = token.is("EXEC") ? regions.startingAt(index)
                                                                 : nullptr) {
            // EXEC CICS, SQL or DLI: never rewritten, the block is passed over whole.
            last = region->last;
        } else if (token.is("COPY")) {
            const std::string name = index + 1 < m_tokens.size() ? m_tokens[index + 1].text : "";
            m_log.addRemark(Remark::Severity::Note,
                            token.line + 1,
                            "COPY " + name,
                            "procedure text in a copybook is not converted: copybooks are "
                            "shared");
        } else if (token.is("SEARCH")) {
            searchAll = index + 1 < last && m_tokens[index + 1].is("ALL");
        } else if (token.is("END-SEARCH")) {
            searchAll = false;
        } else if (token.is("EVALUATE")) {
            const TokenRange subject = m_parser.forward(index + 1);
            const Operand operand = m_parser.classify(subject);
            if (operand.kind == Operand::Kind::DateItem
                && operand.field->shape != DateShape::FullYear)
                m_log.addRemark(Remark::Severity::Warning,
                                token.line + 1,
                                "EVALUATE " + operand.field->name,
                                "its WHEN values (THRU ranges) compare with a two-digit year");
        }
        if (!token.is("EXEC")) {
            std::size_t conditionFirst = index + 1;
            if (token.is("COMPUTE")) {
                // The COMPUTE's own "=" is no relation.
                while (conditionFirst < last && m_tokens[conditionFirst].text != "="
                       && !m_tokens[conditionFirst].is("EQUAL"))
                    ++conditionFirst;
                conditionFirst = last;
            }
            if (conditionFirst < last)
                conditions.rewrite(conditionFirst,
                                   last,
                                   sentenceEnd,
                                   searchAll && token.is("WHEN")
                                       ? ConditionRewriter::Context::SearchAll
                                       : ConditionRewriter::Context::Plain);
            statements.rewrite(index, last);
        }
        index = last;
    }
    return true;
}

} // namespace vyquext
